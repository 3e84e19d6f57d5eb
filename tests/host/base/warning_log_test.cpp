// Warnings are said once each, into the log of the installed context: the
// run's, or a play's own while a scope puts it there (the studio's plays).
#include "host/base/warning_log.h"

#include <gtest/gtest.h>

#include "host/base/host_context.h"

namespace plof::host {
namespace {

using Messages = std::vector<std::string>;

TEST(WarningLogTest, EachWarningOnceInTheLogOfTheInstalledContext) {
    WarningLog run(false), play(false);
    HostContext context{.warnings = &run};
    const ContextInstallation installed(context);
    warn("a");
    {
        const ContextScope playing({.warnings = &play});
        warn("a");  // new to this play's log
        warn("b");
        warn("a");
    }
    warn("b");
    warn("a");
    EXPECT_EQ(play.messages(), (Messages{"a", "b"}));
    EXPECT_EQ(run.messages(), (Messages{"a", "b"}));
}

}  // namespace
}  // namespace plof::host
