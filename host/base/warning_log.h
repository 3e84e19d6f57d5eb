// The host's warnings to the person running it: what will happen otherwise
// than they may expect, and what to change. A run says each warning once
// (several items read from one file would otherwise repeat it); the studio
// keeps each play's warnings apart, for the page.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace plof::host {

class WarningLog {
public:
    // With `terminal`, each warning is also printed on standard error as it
    // is added, as "plof-host: warning: MESSAGE".
    explicit WarningLog(bool terminal) : terminal_(terminal) {}

    // Adds `message` unless it was added before.
    void add(const std::string &message);

    // Every warning added, in order.
    const std::vector<std::string> &messages() const { return messages_; }

private:
    bool terminal_;
    std::set<std::string> said_;
    std::vector<std::string> messages_;
};

// Adds `message` to the installed context's warning log (host_context.h);
// without one it is printed on standard error, so that a part of the host
// used alone still says it.
void warn(const std::string &message);

}  // namespace plof::host
