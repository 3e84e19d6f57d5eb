// The global-service function of a host as activation sees it: it answers all
// six services the handler fetches (the shared fake host's four, plus file
// requests and directories), logs every name asked for, and can be told to
// lack some services.
#pragma once

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "plof/host_services.h"
#include "support/fake_host_services.h"

namespace plof::testing {

struct ActivationHost {
    std::vector<std::string> requests;
    std::set<std::string> missing;

    static ActivationHost &current() {
        static ActivationHost host;
        return host;
    }

    static void *global(const char *name, int32_t use) {
        static PlofFileRequest files{[](const char *, char *, char *, char *, int32_t) { return 0; }};
        static PlofDirectoryInfo directories{[](const char *) { return "."; }};
        ActivationHost &host = current();
        host.requests.emplace_back(name);
        if (use != 0 || host.missing.count(name) != 0) return nullptr;
        if (std::strcmp(name, PLOF_SERVICE_FILE_REQUEST) == 0) return &files;
        if (std::strcmp(name, PLOF_SERVICE_DIRECTORY_INFO) == 0) return &directories;
        return test::FakeHostServices::global(name, use);
    }
};

}  // namespace plof::testing
