// The module's keyword lines: the input, after a first byte that picks for
// each read whether it is a keyword line or a name line, is read to its end
// in the file form (as settings files are) and in the host form (one host
// line per input line, as scene blocks are). Every value read is written back
// in both forms, which must agree and fit the line buffer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "instance/fake_states.h"
#include "instance/keyword_line.h"

namespace {

using plof::fuzz::check;

void checkKeyword(const plof::KeywordLine &line) {
    const char *keyword = line.keyword.data();
    check(line.length >= 0 && static_cast<std::size_t>(line.length) == std::strlen(keyword),
          "the length is the keyword's");
    check(static_cast<std::size_t>(line.length) < plof::kLineBufferSize, "the keyword fits its buffer");
    check(plof::hasPrefix(keyword, keyword) == 0 && plof::hasPrefix(keyword, "") == 0,
          "a keyword begins with itself and with the empty text");
    check(plof::endsWith(keyword, keyword) == 1, "a keyword ends with itself");
    if (!line.hasValue) return;

    plof::testing::FakeSaveState host;
    plof::writeKeywordValue(host.state(), keyword, line.value);
    char *text = nullptr;
    std::size_t length = 0;
    std::FILE *file = open_memstream(&text, &length);
    check(file != nullptr, "a memory stream opens");
    plof::writeKeywordValue(file, keyword, line.value);
    std::fclose(file);
    check(host.lengthsCountTheNul() && host.lines().size() == 1, "one host line with its NUL");
    check(host.lines()[0].size() <= plof::kMaxLineText, "a written line fits the line buffer");
    check(std::string(text, length) == host.lines()[0] + "\n", "both forms write the same text");
    std::free(text);
}

void checkName(const plof::LineBuffer &name) {
    check(std::strlen(name.data()) < plof::kLineBufferSize, "a name fits its buffer");
}

// Reads `source` to its end; bit (read mod 8) of `selector` makes a read
// a name line.
template <typename Source>
void readAll(Source &&source, unsigned selector) {
    for (unsigned read = 0;; ++read) {
        plof::KeywordLine line;
        plof::LineBuffer name{};
        const bool readsName = ((selector >> (read % 8)) & 1u) != 0;
        if (readsName ? !plof::readNameLine(source, name) : !plof::readKeywordLine(source, line)) return;
        readsName ? checkName(name) : checkKeyword(line);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    const unsigned selector = data[0];
    const std::string text(reinterpret_cast<const char *>(data) + 1, size - 1);
    if (!text.empty()) {
        std::FILE *file = fmemopen(const_cast<char *>(text.data()), text.size(), "r");
        check(file != nullptr, "a memory stream opens");
        readAll(file, selector);
        std::fclose(file);
    }
    plof::testing::FakeLoadState block(plof::fuzz::linesOf(text));
    readAll(block.state(), selector);
    return 0;
}
