#include "core/Wildcard.h"

namespace core {

bool HasWildcard(std::u16string_view text) {
    return text.find_first_of(u"*?") != text.npos;
}

bool MatchesWildcard(std::u16string_view name, std::u16string_view pattern) {
    if (pattern == u"*.*") pattern = u"*";
    // Greedy matching with one backtrack point: the position after the last "*".
    std::size_t n = 0, p = 0;
    std::size_t starPattern = pattern.npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starPattern = p++;
            starName = n;
        } else if (starPattern != pattern.npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

}  // namespace core
