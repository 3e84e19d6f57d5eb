// Replays a fuzz target without libFuzzer: runs LLVMFuzzerTestOneInput once
// over every file of the directories named on the command line (the target's
// seed corpus and its kept regression inputs), in name order, each input in a
// buffer of exactly its size so that the sanitizers see any read past it.
//
// Usage: NAME_replay CORPUS_DIR [REGRESSION_DIR]. The corpus must hold at
// least one file; the regression directory may be absent (no fault found
// yet). Exit 0 when every input ran; a fault aborts the program, after the
// name of the input it was running has been printed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsOf(const fs::path &directory) {
    std::vector<fs::path> files;
    for (const fs::directory_entry &entry : fs::directory_iterator(directory)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool replay(const fs::path &file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "replay: cannot read %s\n", file.c_str());
        return false;
    }
    const std::vector<char> text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<uint8_t> bytes(text.begin(), text.end());
    std::printf("%s\n", file.c_str());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR [REGRESSION_DIR]\n", argv[0]);
        return 2;
    }
    const fs::path corpus = argv[1];
    std::error_code error;
    if (!fs::is_directory(corpus, error) || inputsOf(corpus).empty()) {
        std::fprintf(stderr, "replay: %s: no seed inputs; a target needs at least one\n", corpus.c_str());
        return 3;
    }
    std::vector<fs::path> inputs = inputsOf(corpus);
    if (argc == 3 && fs::is_directory(argv[2], error)) {
        const std::vector<fs::path> kept = inputsOf(argv[2]);
        inputs.insert(inputs.end(), kept.begin(), kept.end());
    }
    for (const fs::path &input : inputs) {
        if (!replay(input)) return 4;
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    return 0;
}
