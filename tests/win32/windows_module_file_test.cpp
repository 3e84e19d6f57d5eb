// The Windows build's files as the Windows loader and the host see them:
// plof.p is a 32-bit DLL exporting exactly `_mod_descrip`, whose descriptor
// holds the values the host checks and 32-bit addresses of the module's own
// code and texts; neither file needs a DLL that Windows does not ship.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <sstream>

#include "plof/module.h"
#include "support/host_programs.h"
#include "win32/pe_image.h"

namespace plof::test {
namespace {

constexpr uint16_t kMachineI386 = 0x14C;

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// DLLs present on every Windows the host runs on.
bool isSystemDll(const std::string &name) {
    const std::string lower = lowered(name);
    static const char *const kSystem[] = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll",
                                          "shell32.dll",  "ole32.dll",  "ntdll.dll", "msvcrt.dll"};
    return std::find(std::begin(kSystem), std::end(kSystem), lower) != std::end(kSystem) ||
           lower.starts_with("api-ms-win-");
}

TEST(WindowsModuleFile, IsA32BitDllExportingOnlyTheDescriptor) {
    PLOF_SKIP_WITHOUT_WINDOWS_BUILD();
    const PeImage module(windowsBinDir() / "plof.p");
    ASSERT_EQ(module.error(), "");
    EXPECT_EQ(module.machine(), kMachineI386);
    EXPECT_TRUE(module.isDll());
    EXPECT_EQ(module.exportNames(), std::vector<std::string>{PLOF_DESCRIPTOR_SYMBOL});
}

TEST(WindowsModuleFile, DescriptorHoldsTheWordsTheHostChecksAndItsServers) {
    PLOF_SKIP_WITHOUT_WINDOWS_BUILD();
    const PeImage module(windowsBinDir() / "plof.p");
    ASSERT_EQ(module.error(), "");
    const auto descriptor = module.exportAddress(PLOF_DESCRIPTOR_SYMBOL);
    ASSERT_TRUE(descriptor.has_value());

    // Six 32-bit words: sync, version, machine, start-up, shut-down, servers.
    std::vector<uint32_t> words;
    for (uint32_t i = 0; i < 6; ++i) {
        const auto word = module.wordAt(*descriptor + 4 * i);
        ASSERT_TRUE(word.has_value()) << "descriptor word " << i << " is not in the file";
        words.push_back(*word);
    }
    EXPECT_EQ(words[0], 0x04121994u);
    EXPECT_EQ(words[1], 2u);
    EXPECT_EQ(words[2], 0x300u);
    // Addresses are stored for the preferred image base (the loader relocates them).
    const uint32_t base = module.imageBase();
    ASSERT_GT(words[3], base);
    ASSERT_GT(words[4], base);
    EXPECT_TRUE(module.isCode(words[3] - base)) << "start-up does not point at code";
    EXPECT_TRUE(module.isCode(words[4] - base)) << "shut-down does not point at code";

    // Server records of three words up to the record of three nulls.
    std::vector<std::string> servers;
    for (uint32_t record = words[5] - base;; record += 12) {
        const auto className = module.wordAt(record);
        const auto serverName = module.wordAt(record + 4);
        const auto activate = module.wordAt(record + 8);
        ASSERT_TRUE(className && serverName && activate) << "server list runs out of the file";
        if (*className == 0) {
            EXPECT_EQ(*serverName, 0u);
            EXPECT_EQ(*activate, 0u);
            break;
        }
        ASSERT_LT(servers.size(), 2u) << "server list has no end record after two servers";
        EXPECT_TRUE(module.isCode(*activate - base));
        servers.push_back(module.textAt(*className - base).value_or("?") + " " +
                          module.textAt(*serverName - base).value_or("?"));
    }
    EXPECT_EQ(servers, (std::vector<std::string>{"DisplacementHandler PLOF!", "DisplacementInterface PLOF!"}));
}

TEST(WindowsModuleFile, ModuleAndHostProgramNeedOnlyWindowsSystemDlls) {
    PLOF_SKIP_WITHOUT_WINDOWS_BUILD();
    for (const char *file : {"plof.p", "plof-host.exe"}) {
        const PeImage image(windowsBinDir() / file);
        ASSERT_EQ(image.error(), "") << file;
        EXPECT_EQ(image.machine(), kMachineI386) << file;
        EXPECT_FALSE(image.importedDlls().empty()) << file;
        for (const std::string &dll : image.importedDlls()) {
            EXPECT_TRUE(isSystemDll(dll)) << file << " needs " << dll << ", which a Windows machine does not have";
        }
    }
}

// The module's own functions (named plof::...) in the DLL's disassembly, each
// with the x87 instructions that compute (round) rather than move values.
// Moving a double through the x87 stack is exact and the 32-bit calling
// convention returns doubles there; arithmetic on it would round to 64-bit
// mantissas, which the native build never does.
std::map<std::string, std::vector<std::string>> x87ArithmeticByModuleFunction(const std::string &disassembly) {
    static const char *const kArithmetic[] = {"fadd",   "fsub",  "fmul",  "fdiv",   "fiadd",   "fisub",
                                              "fimul",  "fidiv", "fsqrt", "fsin",   "fcos",    "fptan",
                                              "fpatan", "fyl2x", "f2xm1", "fscale", "frndint", "fprem"};
    std::map<std::string, std::vector<std::string>> functions;
    std::istringstream lines(disassembly);
    std::string line;
    std::vector<std::string> *current = nullptr;
    while (std::getline(lines, line)) {
        // "691c83b0 <plof::birthTime(int, ...)>:" starts a function.
        if (!line.empty() && line.back() == ':' && line.find(" <") != std::string::npos) {
            const bool own = line.find("<plof::") != std::string::npos;
            const std::size_t start = line.find(" <") + 2;
            current = own ? &functions[line.substr(start, line.size() - 2 - start)] : nullptr;
            continue;
        }
        // "  691c83c4:\tfmul   %st(1),%st"
        const std::size_t tab = line.find('\t');
        if (!current || tab == std::string::npos) continue;
        const std::string mnemonic = line.substr(tab + 1, line.find(' ', tab) - tab - 1);
        for (const char *arithmetic : kArithmetic) {
            if (mnemonic.starts_with(arithmetic)) current->push_back(mnemonic);
        }
    }
    return functions;
}

TEST(WindowsModuleFile, ModuleCodeDoesNoX87Arithmetic) {
    PLOF_SKIP_WITHOUT_WINDOWS_BUILD();
    const std::string command =
        "i686-w64-mingw32-objdump -d -C --no-show-raw-insn '" + (windowsBinDir() / "plof.p").string() + "' 2>/dev/null";
    std::string disassembly;
    if (std::FILE *pipe = popen(command.c_str(), "r")) {
        char buffer[65536];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) disassembly.append(buffer, got);
        pclose(pipe);
    }
    if (disassembly.empty()) GTEST_SKIP() << "i686-w64-mingw32-objdump is missing; run scripts/install-deps --win32";

    const auto functions = x87ArithmeticByModuleFunction(disassembly);
    // The DLL keeps its symbols; without them this test would check nothing.
    ASSERT_GT(functions.size(), 50u);
    for (const auto &[name, instructions] : functions) {
        EXPECT_TRUE(instructions.empty()) << name << " uses " << instructions.front();
    }
}

TEST(WindowsModuleFile, X87ArithmeticIsFoundWhereItIs) {
    const std::string disassembly =
        "691c83b0 <plof::birthTime(int)>:\n"
        "691c83b4:\tfildll 0x8(%esp)\n"
        "691c83b8:\tfstpl  (%esp)\n"
        "691c9000 <plof::scaled(double)>:\n"
        "691c9004:\tfldl   0x4(%esp)\n"
        "691c9008:\tfmulp  %st,%st(1)\n"
        "691d9710 <_atan2>:\n"
        "691d9718:\tfpatan \n";
    const auto functions = x87ArithmeticByModuleFunction(disassembly);
    ASSERT_EQ(functions.size(), 2u);
    EXPECT_TRUE(functions.at("plof::birthTime(int)").empty());
    EXPECT_EQ(functions.at("plof::scaled(double)"), std::vector<std::string>{"fmulp"});
}

}  // namespace
}  // namespace plof::test
