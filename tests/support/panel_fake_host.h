// The host services the panels use besides "LWPanelServices", faked for
// tests: "Info Messages" (recorded), "Directory Info" (set per kind),
// "File Request" (scripted answers, requests recorded) and "LW Item Info"
// (a list of named objects). Installing one puts its records into the
// module-wide state, as handler activation would; the destructor resets the
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

class PanelFakeHost {
public:
    PanelFakeHost();
    ~PanelFakeHost();
    PanelFakeHost(const PanelFakeHost &) = delete;
    PanelFakeHost &operator=(const PanelFakeHost &) = delete;

    std::vector<std::pair<std::string, std::string>> errors;  // second "<null>" when absent
    std::map<std::string, std::string> directories{{"Objects", "objects"}, {"Scenes", "scenes"}};
    std::deque<FileAnswer> fileAnswers;  // consumed one per dialog; none left: cancel
    std::vector<FileRequestSeen> fileRequests;
    std::vector<std::pair<PlofItemId, std::string>> items;  // objects in the host's order

    void chooseFile(const std::string &path) { fileAnswers.push_back({1, path}); }
    void cancelFileDialog() { fileAnswers.push_back({0, ""}); }
};

// A HandlerInstance with the settings of a new instance and `pointCount`
// particles, owned by the test.
struct TestInstance {
    explicit TestInstance(int32_t pointCount = 4);
    HandlerInstance &operator*() { return *instance; }
    HandlerInstance *operator->() { return instance.get(); }
    std::unique_ptr<HandlerInstance> instance;
    std::vector<Particle> particles;
};

}  // namespace plof::test
