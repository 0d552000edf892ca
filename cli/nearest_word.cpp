#include "cli/nearest_word.h"

#include <algorithm>
#include <cctype>

namespace tessara::cli {

namespace {

// Edits from a to b, a swap of neighbours counting as one.
size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t changed = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + changed});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

}  // namespace

std::string NearestWord(std::string_view typed, const std::vector<std::string>& words) {
    std::string lower(typed);  // "Map" is as near to map as it looks
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    const size_t slip = typed.size() <= 4 ? 1 : 2;
    std::string nearest;
    size_t best = slip + 1;
    for (const std::string& word : words) {
        const size_t distance = EditDistance(lower, word);
        if (distance < best) {
            best = distance;
            nearest = word;
        }
    }
    return nearest;
}

}  // namespace tessara::cli
