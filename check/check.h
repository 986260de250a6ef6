// The originality check: counting a probe in a result page.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "text/text.h"

namespace quenvar {

// --- counting a probe in a result page ------------------------------------------

struct MatchSpan {
    int32_t offset = 0;  // bytes from the start of the whole searched text
    int32_t length = 0;
    bool matched = false;  // false for a group that took no part in the match
    friend bool operator==(const MatchSpan&, const MatchSpan&) = default;
};

// The whole match first, then one span per parenthesised group.
using SearchMatch = std::vector<MatchSpan>;

// A probe compiled as a Perl regular expression over bytes (every byte one
// character, case-sensitive). A probe that does not compile leaves the
// previous expression in force.
class SearchPattern {
public:
    SearchPattern();
    ~SearchPattern();
    SearchPattern(const SearchPattern&) = delete;
    SearchPattern& operator=(const SearchPattern&) = delete;

    // True when `pattern` compiled and is now the expression in force.
    bool compile(const Text& pattern);
    // Every match of the expression in force, left to right and without
    // overlap, each search resuming where the previous match ended as a text of
    // its own. An empty match is the last one found. A search the engine gives
    // up on (too complex, out of memory) ends the list with what was found.
    std::vector<SearchMatch> find_all(const Text& text) const;

private:
    struct Compiled;
    std::unique_ptr<Compiled> compiled_;
};

}  // namespace quenvar
