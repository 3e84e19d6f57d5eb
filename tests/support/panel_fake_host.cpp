#include "support/panel_fake_host.h"

#include <gtest/gtest.h>

#include <cstring>

#include "plugin/module_state.h"

namespace plof::test {

namespace {

PanelFakeHost *active = nullptr;

void info(const char *, const char *) {}

void error(const char *first, const char *second) {
    active->errors.emplace_back(first, second != nullptr ? second : "<null>");
}

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

PlofItemId first(int32_t kind, PlofItemId) {
    if (kind != PLOF_ITEM_OBJECT || active->items.empty()) return 0;
    return active->items.front().first;
}

PlofItemId next(PlofItemId item) {
    for (std::size_t i = 0; i + 1 < active->items.size(); ++i) {
        if (active->items[i].first == item) return active->items[i + 1].first;
    }
    return 0;
}

const char *name(PlofItemId item) {
    for (const auto &entry : active->items) {
        if (entry.first == item) return entry.second.c_str();
    }
    return "";
}

void param(PlofItemId, int32_t, double, double vector[3]) { vector[0] = vector[1] = vector[2] = 0.0; }

const PlofMessages messagesRecord{info, error};
const PlofDirectoryInfo directoryRecord{directory};
const PlofFileRequest fileRequestRecord{request};
const PlofItemInfo itemInfoRecord{first, next, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, name, param};

}  // namespace

PanelFakeHost::PanelFakeHost() {
    resetModuleState();
    active = this;
    ModuleState &state = moduleState();
    state.messages = &messagesRecord;
    state.directoryInfo = &directoryRecord;
    state.fileRequest = &fileRequestRecord;
    state.itemInfo = &itemInfoRecord;
}

PanelFakeHost::~PanelFakeHost() {
    resetModuleState();
    active = nullptr;
}

TestInstance::TestInstance(int32_t pointCount)
    : instance(std::make_unique<HandlerInstance>()), particles(static_cast<std::size_t>(pointCount)) {
    HandlerInstance &h = *instance;
    h.pointCount = pointCount;
    h.V0Min = 1.0;
    h.V0Max = 4.0;
    h.SpreadMin = 0;
    h.SpreadMax = 180;
    h.AgeMin = 10;
    h.AgeMax = 60;
    h.Gravity = 9.8;
    h.Birth = 100;
    h.ReCycle = 1;
    h.frameStep = 1;
    h.objectList.count = 1;
    std::strcpy(h.objectList.names[0].data(), "none");
    for (std::size_t i = 0; i < particles.size(); ++i) particles[i].index = static_cast<int32_t>(i);
    h.particles = particles.data();
}

}  // namespace plof::test
