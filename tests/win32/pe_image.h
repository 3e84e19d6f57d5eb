// A reader of 32-bit Windows program files (PE32), just enough to look at a
// module the way the Windows loader and the host do: its machine, its
// sections (by name, long names read from the COFF string table, as the GNU
// tools write them), its exports, its imported DLLs, and the 32-bit words
// stored at an address of its loaded image. Reads the whole file into
// memory; every offset is checked, and a malformed file gives an error text,
// not a crash.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/host_programs.h"

namespace plof::test {

class PeImage {
public:
    // Reads the file; error() tells why when it is not a PE32 image.
    explicit PeImage(const std::filesystem::path &path) : bytes_(readFileBytes(path)) { parse(); }

    const std::string &error() const { return error_; }
    uint16_t machine() const { return machine_; }
    bool isDll() const { return (characteristics_ & 0x2000) != 0; }
    uint32_t imageBase() const { return imageBase_; }

    // Names exported, and the address (relative to the image base) of one.
    const std::vector<std::string> &exportNames() const { return exportNames_; }
    std::optional<uint32_t> exportAddress(const std::string &name) const {
        for (std::size_t i = 0; i < exportNames_.size(); ++i) {
            if (exportNames_[i] == name) return exportAddresses_[i];
        }
        return std::nullopt;
    }
    const std::vector<std::string> &importedDlls() const { return importedDlls_; }

    // The 32-bit little-endian word at relative address `rva`, when the file holds it.
    std::optional<uint32_t> wordAt(uint32_t rva) const {
        const auto offset = fileOffset(rva, 4);
        if (!offset) return std::nullopt;
        return read32(*offset);
    }
    // The NUL-terminated text at relative address `rva`.
    std::optional<std::string> textAt(uint32_t rva) const {
        const auto offset = fileOffset(rva, 1);
        if (!offset) return std::nullopt;
        const std::size_t end = bytes_.find('\0', *offset);
        if (end == std::string::npos) return std::nullopt;
        return bytes_.substr(*offset, end - *offset);
    }
    // Whether `rva` lies in a section holding code.
    bool isCode(uint32_t rva) const {
        for (const Section &section : sections_) {
            if (rva >= section.address && rva < section.address + section.size) {
                return (section.flags & 0x20000000u) != 0;  // executable
            }
        }
        return false;
    }

    // Every section's name, in file order.
    std::vector<std::string> sectionNames() const {
        std::vector<std::string> names;
        for (const Section &section : sections_) names.push_back(section.name);
        return names;
    }
    // The bytes the file holds for the section `name` (none when it has no such section).
    std::string sectionBytes(const std::string &name) const {
        for (const Section &section : sections_) {
            if (section.name == name && has(section.rawOffset, section.rawSize)) {
                return bytes_.substr(section.rawOffset, section.rawSize);
            }
        }
        return "";
    }

private:
    struct Section {
        std::string name;
        uint32_t address, size, rawSize, rawOffset, flags;
    };

    // A section name: up to 8 bytes, or "/OFFSET" into the string table after the symbols.
    std::string sectionName(std::size_t header, std::size_t stringTable) const {
        std::string name = bytes_.substr(header, 8);
        name = name.substr(0, name.find('\0'));
        if (name.size() < 2 || name[0] != '/') return name;
        std::size_t offset = 0;
        for (char digit : name.substr(1)) {
            if (digit < '0' || digit > '9') return name;
            offset = offset * 10 + static_cast<std::size_t>(digit - '0');
        }
        const std::size_t start = stringTable + offset;
        const std::size_t end = start < bytes_.size() ? bytes_.find('\0', start) : std::string::npos;
        if (end == std::string::npos) return name;
        return bytes_.substr(start, end - start);
    }

    bool has(std::size_t offset, std::size_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }
    uint16_t read16(std::size_t offset) const {
        return static_cast<uint16_t>(static_cast<uint8_t>(bytes_[offset]) | static_cast<uint8_t>(bytes_[offset + 1])
                                                                                << 8);
    }
    uint32_t read32(std::size_t offset) const {
        return static_cast<uint32_t>(read16(offset)) | static_cast<uint32_t>(read16(offset + 2)) << 16;
    }
    std::optional<std::size_t> fileOffset(uint32_t rva, std::size_t length) const {
        for (const Section &section : sections_) {
            if (rva >= section.address && rva - section.address < section.rawSize &&
                has(section.rawOffset + (rva - section.address), length)) {
                return section.rawOffset + (rva - section.address);
            }
        }
        return std::nullopt;
    }

    void parse() {
        if (!has(0, 64) || bytes_.compare(0, 2, "MZ") != 0) {
            error_ = "no MZ header";
            return;
        }
        const std::size_t pe = read32(0x3C);
        if (!has(pe, 24) || bytes_.compare(pe, 4, std::string("PE\0\0", 4)) != 0) {
            error_ = "no PE signature";
            return;
        }
        machine_ = read16(pe + 4);
        const uint16_t sectionCount = read16(pe + 6);
        const std::size_t stringTable = std::size_t{read32(pe + 12)} + std::size_t{read32(pe + 16)} * 18;
        const uint16_t optionalSize = read16(pe + 20);
        characteristics_ = read16(pe + 22);
        const std::size_t optional = pe + 24;
        if (!has(optional, 96) || read16(optional) != 0x10B) {
            error_ = "not a PE32 (32-bit) image";
            return;
        }
        imageBase_ = read32(optional + 28);
        const uint32_t directoryCount = read32(optional + 92);
        const std::size_t sectionTable = optional + optionalSize;
        for (uint16_t i = 0; i < sectionCount; ++i) {
            const std::size_t header = sectionTable + 40u * i;
            if (!has(header, 40)) {
                error_ = "section table cut short";
                return;
            }
            sections_.push_back({sectionName(header, stringTable), read32(header + 12),
                                 std::max(read32(header + 8), read32(header + 16)), read32(header + 16),
                                 read32(header + 20), read32(header + 36)});
        }
        if (directoryCount >= 1) parseExports(read32(optional + 96));
        if (directoryCount >= 2) parseImports(read32(optional + 104));
    }

    void parseExports(uint32_t rva) {
        if (rva == 0) return;
        const auto directory = fileOffset(rva, 40);
        if (!directory) {
            error_ = "export directory outside the file";
            return;
        }
        const uint32_t nameCount = read32(*directory + 24);
        const uint32_t functions = read32(*directory + 28);
        const uint32_t names = read32(*directory + 32);
        const uint32_t ordinals = read32(*directory + 36);
        for (uint32_t i = 0; i < nameCount; ++i) {
            const auto nameRva = wordAt(names + 4 * i);
            const auto ordinalOffset = fileOffset(ordinals + 2 * i, 2);
            if (!nameRva || !ordinalOffset) {
                error_ = "export tables outside the file";
                return;
            }
            const auto name = textAt(*nameRva);
            const auto address = wordAt(functions + 4u * read16(*ordinalOffset));
            if (!name || !address) {
                error_ = "export entry outside the file";
                return;
            }
            exportNames_.push_back(*name);
            exportAddresses_.push_back(*address);
        }
    }

    void parseImports(uint32_t rva) {
        if (rva == 0) return;
        for (uint32_t entry = rva;; entry += 20) {
            const auto nameRva = wordAt(entry + 12);
            if (!nameRva) {
                error_ = "import directory outside the file";
                return;
            }
            if (*nameRva == 0) return;
            const auto name = textAt(*nameRva);
            if (!name) {
                error_ = "import name outside the file";
                return;
            }
            importedDlls_.push_back(*name);
        }
    }

    std::string bytes_;
    std::string error_;
    uint16_t machine_ = 0;
    uint16_t characteristics_ = 0;
    uint32_t imageBase_ = 0;
    std::vector<Section> sections_;
    std::vector<std::string> exportNames_;
    std::vector<uint32_t> exportAddresses_;
    std::vector<std::string> importedDlls_;
};

}  // namespace plof::test
