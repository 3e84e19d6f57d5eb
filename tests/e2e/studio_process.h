// A running `plof-host studio` for the end-to-end suite and the benchmark:
// started with its arguments, its address read from the line it prints,
// HTTP clients that carry its token, and its resident memory.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include <httplib.h>

extern char **environ;

namespace plof::e2e {

// A running `plof-host studio`, stopped with SIGTERM (or the given signal)
// by stop(); its exit code is then the command's. One that does not end
// within a while is killed, so that a test fails rather than hangs.
class Studio {
public:
    // `plofHost` is the program to run.
    Studio(const std::string &plofHost, std::vector<std::string> arguments) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        arguments.insert(arguments.begin(), {plofHost, "studio"});
        std::vector<char *> argv;
        for (std::string &argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        std::string line;
        char c;
        while (read(pipeEnds[0], &c, 1) == 1 && c != '\n') line += c;
        close(pipeEnds[0]);
        std::smatch match;
        if (std::regex_match(line, match,
                             std::regex(R"(plof-host: studio at http://127\.0\.0\.1:(\d+)/\?token=([0-9a-f]{32}))"))) {
            port_ = std::stoi(match[1]);
            token_ = match[2];
        }
    }
    ~Studio() {
        if (pid_ > 0 && exitCode_ < 0) stopWithin(30);
    }

    bool started() const { return port_ > 0; }
    int port() const { return port_; }
    const std::string &token() const { return token_; }
    pid_t pid() const { return pid_; }

    // A client that sends the token as a bearer header.
    std::unique_ptr<httplib::Client> client(bool withToken = true) const {
        auto client = std::make_unique<httplib::Client>("127.0.0.1", port_);
        client->set_read_timeout(120);
        if (withToken) client->set_bearer_token_auth(token_);
        return client;
    }

    int stop(int signal = SIGTERM) {
        kill(pid_, signal);
        int status = 0;
        waitpid(pid_, &status, 0);
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return exitCode_;
    }

    // Sends `signal` and waits at most `seconds` for the end: the exit code,
    // or -1 when the studio had to be killed.
    int stopWithin(double seconds, int signal = SIGTERM) {
        kill(pid_, signal);
        for (double waited = 0; waited < seconds; waited += 0.01) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                return exitCode_;
            }
            usleep(10000);
        }
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        exitCode_ = 128 + SIGKILL;
        return -1;
    }

    // Resident memory in kB, from /proc.
    long residentKb() const {
        std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    int port_ = 0;
    std::string token_;
    int exitCode_ = -1;
};

}  // namespace plof::e2e
