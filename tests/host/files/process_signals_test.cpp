// The process's signals, each case in a child process of its own (a signal
// ends it): an interruption taken over calls the stop instead of ending the
// program, for every interruption while the takeover lives; one ignored at
// the start stays ignored.
#include "host/files/process_signals.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <stdexcept>

#include <gtest/gtest.h>

#include "host/run/host_process.h"

namespace plof::host {
namespace {

// Runs `child` in a child process; its wait status.
int statusOfChild(const std::function<void()> &child) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        child();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

TEST(ProcessSignalsTest, ATakeoverGetsEveryInterruptionUntilItEnds) {
    int calls[2];
    ASSERT_EQ(::pipe(calls), 0);
    const int status = statusOfChild([&] {
        const HostProcess process;
        {
            const StopOnInterruption takeover([&] {
                if (::write(calls[1], "s", 1) != 1) ::_exit(3);
            });
            try {
                const StopOnInterruption second([] {});
                ::_exit(6);  // only one takeover at a time
            } catch (const std::logic_error &) {
            }
            char called = 0;
            for (int signal : {SIGTERM, SIGINT}) {
                ::kill(::getpid(), signal);
                // The stop is called on another thread: the child goes on.
                if (::read(calls[0], &called, 1) != 1) ::_exit(4);
            }
        }
        ::kill(::getpid(), SIGHUP);
        ::sleep(30);
        ::_exit(5);  // not reached: without the takeover the interruption ends the child
    });
    ::close(calls[0]);
    ::close(calls[1]);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGHUP) << "exit " << WEXITSTATUS(status);
}

TEST(ProcessSignalsTest, AnInterruptionIgnoredAtTheStartStaysIgnored) {
    const int status = statusOfChild([] {
        ::signal(SIGHUP, SIG_IGN);
        const HostProcess process;
        ::kill(::getpid(), SIGHUP);
        ::usleep(200000);  // time for a thread that would take it
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

}  // namespace
}  // namespace plof::host
