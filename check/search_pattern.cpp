// Counting a probe in a result page with Boost.Regex over bytes.
#include <boost/regex.hpp>

#include <chrono>
#include <locale>
#include <span>

#include "check/check.h"

namespace quenvar {

namespace {

// Pages are searched through an iterator type of our own rather than
// `const char*`, whose matcher comes precompiled in the Boost library: only
// this type's matcher can take the bound on work below.
using PageIterator = std::span<const char>::iterator;
using PageMatch = boost::match_results<PageIterator>;

// Boost gives up on a search after a number of steps that grows with the
// square of the pattern's size times the text's length: for a 76-byte probe
// built of nested quantifiers over a 1.5 MB page that is minutes. No probe
// that is worth counting needs more than this many steps in one search.
constexpr std::ptrdiff_t max_steps_per_search = 30'000'000;
// And the matches of one page are never worth more than this much time.
constexpr std::chrono::seconds max_time_per_page{2};

// Bytes that have a meaning in Perl syntax; a probe without any of them is a
// plain literal.
constexpr std::string_view syntax_bytes = "\\^$.|?*+()[]{}";

}  // namespace

}  // namespace quenvar

namespace boost::BOOST_REGEX_DETAIL_NS {

template <>
void perl_matcher<
    quenvar::PageIterator, quenvar::PageMatch::allocator_type,
    boost::regex::traits_type>::estimate_max_state_count(std::random_access_iterator_tag*) {
    max_state_count = quenvar::max_steps_per_search;
}

}  // namespace boost::BOOST_REGEX_DETAIL_NS

namespace quenvar {

struct SearchPattern::Compiled {
    boost::regex expression;
    // The probe's bytes when it has no syntax at all: such a probe matches
    // exactly its own bytes, and a plain search finds those much faster.
    std::string literal;
};

SearchPattern::SearchPattern() = default;
SearchPattern::~SearchPattern() = default;

bool SearchPattern::compile(const Text& pattern) {
    auto fresh = std::make_unique<Compiled>();
    try {
        // The classic locale keeps \w, \s, \d and case folding to ASCII, so
        // bytes of 0x80 and above are never letters, digits or blanks.
        fresh->expression.imbue(std::locale::classic());
        fresh->expression.assign(pattern.str(),
                                 boost::regex::perl | boost::regex::no_empty_expressions);
    } catch (const std::exception&) {
        return false;  // the expression in force stays
    }
    if (pattern.view().find_first_of(syntax_bytes) == std::string_view::npos) {
        fresh->literal = pattern.str();
    }
    compiled_ = std::move(fresh);
    return true;
}

bool SearchPattern::compile_literal(const Text& literal) {
    if (literal.empty()) return false;
    auto fresh = std::make_unique<Compiled>();
    fresh->literal = literal.str();
    compiled_ = std::move(fresh);
    return true;
}

std::vector<SearchMatch> SearchPattern::find_all(const Text& text) const {
    std::vector<SearchMatch> matches;
    if (text.empty() || compiled_ == nullptr) return matches;
    const std::string_view page = text.view();

    if (const std::string_view literal = compiled_->literal; !literal.empty()) {
        for (size_t at = page.find(literal); at != std::string_view::npos;
             at = page.find(literal, at + literal.size())) {
            matches.push_back(
                {{static_cast<int32_t>(at), static_cast<int32_t>(literal.size()), true}});
        }
        return matches;
    }

    const std::span<const char> bytes(page.data(), page.size());
    const auto deadline = std::chrono::steady_clock::now() + max_time_per_page;
    PageIterator start = bytes.begin();
    PageMatch found;
    try {
        while (boost::regex_search(start, bytes.end(), found, compiled_->expression,
                                   boost::match_default)) {
            SearchMatch match;
            for (size_t group = 0; group < found.size(); ++group) {
                const auto& sub = found[group];
                match.push_back(sub.matched
                                    ? MatchSpan{static_cast<int32_t>(sub.first - bytes.begin()),
                                                static_cast<int32_t>(sub.length()), true}
                                    : MatchSpan{});
            }
            matches.push_back(std::move(match));
            // Resuming at the end of an empty match would find it again.
            if (found[0].length() == 0) break;
            start = found[0].second;
            if (std::chrono::steady_clock::now() > deadline) break;
        }
    } catch (const std::exception&) {
        // The engine gave up on this search; what was found before stands.
    }
    return matches;
}

}  // namespace quenvar
