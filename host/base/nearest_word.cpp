#include "host/base/nearest_word.h"

#include <algorithm>

#include "host/base/text_words.h"

namespace plof::host {

namespace {

// Levenshtein distance: insertions, deletions and substitutions.
std::size_t editDistance(const std::string &a, const std::string &b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::string nearestWord(const std::string &word, const std::vector<std::string> &vocabulary) {
    const std::string wanted = lowerCase(word);
    std::string best;
    std::size_t bestDistance = 3;  // more letters apart than this is not "close"
    for (const std::string &candidate : vocabulary) {
        const std::size_t distance = editDistance(wanted, lowerCase(candidate));
        if (distance < bestDistance && distance * 3 < std::max<std::size_t>(candidate.size(), 3)) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace plof::host
