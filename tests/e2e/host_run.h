// Running the built plof-host from end-to-end tests: the command line, its
// exit code, standard output and standard error, and the CSV it prints.
#pragma once

#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tools/command.h"

namespace plof::e2e {

// The exit codes plof-host promises (tools/command.h).
using plof::tools::kExitBadInput;
using plof::tools::kExitFailure;
using plof::tools::kExitOk;
using plof::tools::kExitUsage;

struct HostRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string fileText(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A directory of its own for one test, removed afterwards.
class TempDirectory {
public:
    TempDirectory() {
        const auto *test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("plof_e2e_" + std::string(test->test_suite_name()) + "_" + test->name() + "_" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDirectory() { std::filesystem::remove_all(path_); }
    std::string operator/(const std::string &name) const { return (path_ / name).string(); }
    std::string write(const std::string &name, const std::string &bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
        return (path_ / name).string();
    }
    const std::filesystem::path &path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Runs "plof-host ARGUMENTS" through the shell (the arguments are quoted by
// the caller) in `directory`, after the shell commands `shellPrefix` (limits).
inline HostRun runHost(const std::string &arguments, const TempDirectory &directory,
                       const std::string &shellPrefix = "") {
    const std::string out = directory / "stdout.txt";
    const std::string err = directory / "stderr.txt";
    const std::string command = "cd '" + directory.path().string() + "' && " + shellPrefix + "'" +
                                std::string(PLOF_BIN_DIR) + "/plof-host' " + arguments + " >'" + out + "' 2>'" + err +
                                "'";
    const int status = std::system(command.c_str());
    HostRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = fileText(out);
    run.err = fileText(err);
    return run;
}

// The numbers of each CSV row after the header, and the header itself.
struct Csv {
    std::string header;
    std::vector<std::vector<double>> rows;
};

inline Csv parseCsv(const std::string &text) {
    Csv csv;
    std::istringstream in(text);
    std::getline(in, csv.header);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<double> row;
        std::istringstream fields(line);
        std::string field;
        while (std::getline(fields, field, ',')) {
            row.push_back(std::strtod(field.c_str(), nullptr));
        }
        csv.rows.push_back(row);
    }
    return csv;
}

// The effect's settings file with these values and no avoid object.
struct Settings {
    double V0Min = 2, V0Max = 2, AgeMin = 100, AgeMax = 100, Gravity = 9.8, Regist = 0, START_F = 0, Birth = 30,
           ReCycle = 0, SpreadMin = 0, SpreadMax = 0, OrgEmit = 0;
    std::string reference = "none";

    std::string text() const {
        const std::pair<const char *, double> values[] = {
            {"V0Min", V0Min},     {"V0Max", V0Max},         {"AgeMin", AgeMin},       {"AgeMax", AgeMax},
            {"Gravity", Gravity}, {"Regist", Regist},       {"START_F", START_F},     {"Birth", Birth},
            {"ReCycle", ReCycle}, {"SpreadMin", SpreadMin}, {"SpreadMax", SpreadMax}, {"OrgEmit", OrgEmit}};
        std::string out = "PLOF_START\n";
        for (const auto &[keyword, value] : values) {
            char line[64];
            std::snprintf(line, sizeof line, "%s %f\n", keyword, value);
            out += line;
        }
        return out + "REFERENCE\n" + reference + "\nPLOF_END\n";
    }
};

// The module's random generator, as its documentation gives it: state 1 at
// load, state × 214013 + 2531011 modulo 2^32, bits 16 to 30 drawn.
class ModuleRandom {
public:
    int32_t next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int32_t>((state_ >> 16) & 0x7FFF);
    }

private:
    uint32_t state_ = 1;
};

}  // namespace plof::e2e
