#include "support/panel_fake_host.h"

#include <gtest/gtest.h>

#include <cstring>

#include "instance/module_state.h"
#include "support/recording_panel_services.h"

namespace plof::test {

namespace {

PanelFakeHost *active = nullptr;

const char *directory(const char *kind) {
    auto found = active->directories.find(kind);
    return found != active->directories.end() ? found->second.c_str() : nullptr;
}

int32_t request(const char *title, char *nameBuffer, char *pathBuffer, char *resultBuffer, int32_t size) {
    active->fileRequests.push_back({title, nameBuffer, pathBuffer, size});
    if (active->fileAnswers.empty()) return 0;
    FileAnswer answer = active->fileAnswers.front();
    active->fileAnswers.pop_front();
    if (answer.result > 0) {
        EXPECT_LT(answer.path.size(), static_cast<std::size_t>(size)) << "a test answer longer than the buffer";
        std::strncpy(resultBuffer, answer.path.c_str(), static_cast<std::size_t>(size));
        resultBuffer[size - 1] = '\0';
    }
    return answer.result;
}

}  // namespace

PanelFakeHost::PanelFakeHost() {
    directoryInfo_.directory = directory;
    fileRequest_.request = request;
    ModuleState &state = moduleState();
    state.global = &PanelFakeHost::global;
    state.directoryInfo = &directoryInfo_;
    state.fileRequest = &fileRequest_;
    active = this;
}

PanelFakeHost::~PanelFakeHost() { active = nullptr; }

std::vector<std::pair<std::string, std::string>> PanelFakeHost::errors() const {
    std::vector<std::pair<std::string, std::string>> result;
    for (std::size_t i = errorsSeen_; i < messages().size(); ++i) {
        const RecordedMessage &message = messages()[i];
        if (message.error) result.emplace_back(message.first, message.second.value_or("<null>"));
    }
    return result;
}

void *PanelFakeHost::global(const char *serviceName, int32_t use) {
    if (std::strcmp(serviceName, PLOF_SERVICE_PANELS) == 0) {
        RecordingPanelServices *services = RecordingPanelServices::current();
        return active->panelServicesMissing || services == nullptr ? nullptr : &services->record();
    }
    if (std::strcmp(serviceName, PLOF_SERVICE_DIRECTORY_INFO) == 0) return &active->directoryInfo_;
    if (std::strcmp(serviceName, PLOF_SERVICE_FILE_REQUEST) == 0) return &active->fileRequest_;
    return FakeHostServices::global(serviceName, use);
}

}  // namespace plof::test
