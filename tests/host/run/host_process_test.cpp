// A run of the host: its context is whole while the signals are installed,
// an interruption removes the temporaries noted in it, and everything is put
// back when the run ends.
#include "host/run/host_process.h"

#include <pthread.h>
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

bool blockedHere(int signal) {
    sigset_t mask;
    ::pthread_sigmask(SIG_BLOCK, nullptr, &mask);
    return sigismember(&mask, signal) == 1;
}

TEST(HostProcessTest, InstallsItsWholeContextAndSignalsAndPutsEverythingBack) {
    void (*before)(int) = handlerOf(SIGXFSZ);
    ASSERT_FALSE(blockedHere(SIGTERM));
    {
        const HostProcess process;
        const HostContext *context = hostContext();
        ASSERT_NE(context, nullptr);
        EXPECT_TRUE(context->temporaries && context->warnings && context->services && context->panels);
        EXPECT_EQ(handlerOf(SIGXFSZ), SIG_IGN);
        // Interruptions are taken by a thread of their own, not this one.
        EXPECT_TRUE(blockedHere(SIGTERM) && blockedHere(SIGINT) && blockedHere(SIGHUP));
        EXPECT_THROW(HostProcess{}, std::logic_error);
    }
    EXPECT_EQ(hostContext(), nullptr);
    EXPECT_EQ(handlerOf(SIGXFSZ), before);
    EXPECT_FALSE(blockedHere(SIGTERM));
}

TEST(HostProcessTest, AnInterruptionRemovesTheNotedTemporariesAndEndsAsTheSignalWould) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "plof_host_process_interrupted.tmp";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const HostProcess process;
        std::ofstream(file) << "half written";
        const NotedTemporary noted(file.string());
        // To the process, as a terminal or kill sends it: a thread of the
        // host's own takes it.
        ::kill(::getpid(), SIGTERM);
        ::sleep(30);
        ::_exit(0);  // not reached: the signal ends the child
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace plof::host
