// The host as the panels see it, for tests: the fake host services of the
// simulation suites ("LW Object Info", "LWObjectAccess", "LW Item Info",
// "Info Messages") plus "Directory Info" (set per kind), "File Request"
// (scripted answers, requests recorded) and, through global(), the recording
// panel services of the test. Constructing one installs every record into the
// module-wide state, as handler activation would; destroying it resets the
// module state. One at a time.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "instance/handler_instance.h"
#include "plof/host_services.h"
#include "support/fake_host_services.h"

namespace plof::test {

struct FileAnswer {
    int32_t result;    // above 0: a file was chosen
    std::string path;  // written into the result buffer
};

struct FileRequestSeen {
    std::string title;
    std::string name;
    std::string path;
    int32_t size;
};

class PanelFakeHost : public FakeHostServices {
public:
    PanelFakeHost();
    ~PanelFakeHost();

    std::map<std::string, std::string> directories{{PLOF_DIRECTORY_OBJECTS, "objects"},
                                                   {PLOF_DIRECTORY_SCENES, "scenes"}};
    std::deque<FileAnswer> fileAnswers;  // consumed one per dialog; none left: cancel
    std::vector<FileRequestSeen> fileRequests;
    // When set, global() has no "LWPanelServices".
    bool panelServicesMissing = false;

    void chooseFile(const std::string &path) { fileAnswers.push_back({1, path}); }
    void cancelFileDialog() { fileAnswers.push_back({0, ""}); }

    // Error messages since the last clearErrors(), as (first line, second
    // line), the second "<null>" when the module passed none.
    std::vector<std::pair<std::string, std::string>> errors() const;
    void clearErrors() { errorsSeen_ = messages().size(); }

    // Answers the names above; "LWPanelServices" is the current
    // RecordingPanelServices' record.
    static void *global(const char *serviceName, int32_t use);

private:
    std::size_t errorsSeen_ = 0;
    PlofDirectoryInfo directoryInfo_{};
    PlofFileRequest fileRequest_{};
};

}  // namespace plof::test
