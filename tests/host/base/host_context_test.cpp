// The one context: installed once at a time, and filled by scopes that put
// back what they replaced, innermost first.
#include "host/base/host_context.h"

#include <stdexcept>

#include <gtest/gtest.h>

#include "host/base/warning_log.h"
#include "host/files/written_file_check.h"

namespace plof::host {
namespace {

TEST(HostContextTest, ScopesFillOnlyTheirPartsAndPutBackWhatTheyReplaced) {
    WarningLog run(false), play(false);
    WrittenFileCheck outerCheck(1), innerCheck(2);
    HostContext context{.warnings = &run};
    const ContextInstallation installed(context);
    ASSERT_EQ(hostContext(), &context);
    {
        const ContextScope outer({.warnings = &play, .writtenFiles = &outerCheck});
        {
            const ContextScope inner({.writtenFiles = &innerCheck});
            EXPECT_EQ(context.warnings, &play);  // not the inner scope's part: kept
            EXPECT_EQ(context.writtenFiles, &innerCheck);
        }
        EXPECT_EQ(context.writtenFiles, &outerCheck);
    }
    EXPECT_EQ(context.warnings, &run);
    EXPECT_EQ(context.writtenFiles, nullptr);
}

TEST(HostContextTest, OneContextAtATimeAndNoScopeWithoutOne) {
    WarningLog log(false);
    EXPECT_EQ(hostContext(), nullptr);
    EXPECT_THROW(ContextScope({.warnings = &log}), std::logic_error);
    HostContext first, second;
    {
        const ContextInstallation installed(first);
        EXPECT_THROW(ContextInstallation{second}, std::logic_error);
        EXPECT_EQ(hostContext(), &first);
    }
    EXPECT_EQ(hostContext(), nullptr);
}

}  // namespace
}  // namespace plof::host
