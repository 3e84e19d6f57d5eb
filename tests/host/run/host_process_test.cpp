// A run of the host: its context is whole while the signals are installed,
// an interruption removes the temporaries noted in it, and everything is put
// back when the run ends.
#include "host/run/host_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <gtest/gtest.h>

namespace plof::host {
namespace {

void (*handlerOf(int signal))(int) {
    struct sigaction current {};
    ::sigaction(signal, nullptr, &current);
    return current.sa_handler;
}

TEST(HostProcessTest, InstallsItsWholeContextAndSignalsAndPutsEverythingBack) {
    void (*before)(int) = handlerOf(SIGTERM);
    {
        const HostProcess process;
        const HostContext *context = hostContext();
        ASSERT_NE(context, nullptr);
        EXPECT_TRUE(context->temporaries && context->warnings && context->services && context->panels);
        EXPECT_NE(handlerOf(SIGTERM), before);
        EXPECT_THROW(HostProcess{}, std::logic_error);
    }
    EXPECT_EQ(hostContext(), nullptr);
    EXPECT_EQ(handlerOf(SIGTERM), before);
}

TEST(HostProcessTest, AnInterruptionRemovesTheNotedTemporariesAndEndsAsTheSignalWould) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "plof_host_process_interrupted.tmp";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const HostProcess process;
        std::ofstream(file) << "half written";
        const NotedTemporary noted(file.string());
        ::raise(SIGTERM);
        ::_exit(0);  // not reached: the signal ends the child
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace plof::host
