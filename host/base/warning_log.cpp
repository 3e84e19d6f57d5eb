#include "host/base/warning_log.h"

#include <cstdio>

#include "host/base/host_context.h"

namespace plof::host {

namespace {

void print(const std::string &message) { std::fprintf(stderr, "plof-host: warning: %s\n", message.c_str()); }

}  // namespace

void WarningLog::add(const std::string &message) {
    if (!said_.insert(message).second) return;
    messages_.push_back(message);
    if (terminal_) print(message);
}

void warn(const std::string &message) {
    const HostContext *context = hostContext();
    if (context && context->warnings) {
        context->warnings->add(message);
    } else {
        print(message);
    }
}

}  // namespace plof::host
