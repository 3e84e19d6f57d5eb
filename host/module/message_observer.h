// Who is told of the messages the module shows ("Info Messages"), once the
// host has shown each: the scripted user, who knows which file its last
// dialog returned, a file the module's messages do not name.
#pragma once

namespace plof::host {

class MessageObserver {
public:
    virtual ~MessageObserver() = default;
    // Called by the host's messages service after it has shown a message.
    // Called from inside the module: must not throw.
    virtual void messageShown() noexcept = 0;
};

}  // namespace plof::host
