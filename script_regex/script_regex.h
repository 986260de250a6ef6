// Regular expressions with the semantics of the Windows scripting RegExp
// object: patterns and subjects are GB18030 texts matched over their UTF-16
// code units (one character per unit, positions in units), case-insensitive,
// multi-line and global unless told otherwise.
//
// Every execute() makes a fresh expression object and keeps its matches and a
// copy of the subject; the other operations read that state. Nothing reports
// an error: an invalid pattern simply gives no matches and empty texts.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "text/text.h"

namespace quenvar {

class ScriptRegex {
public:
    ScriptRegex();
    ~ScriptRegex();
    ScriptRegex(ScriptRegex&&) noexcept;
    ScriptRegex& operator=(ScriptRegex&&) noexcept;

    // Compiles `pattern` with the options (IgnoreCase = !case_sensitive,
    // default true; Multiline default true; Global default true) and runs it
    // over `subject`. True when it delivered a match collection, which an
    // invalid pattern does not; a pattern that matches nothing still does.
    bool execute(const Text& pattern, const Text& subject,
                 std::optional<bool> case_sensitive = std::nullopt,
                 std::optional<bool> multiline = std::nullopt,
                 std::optional<bool> global = std::nullopt);
    void noop() {}
    // The pattern of the last execute(); "" before the first.
    Text pattern() const;
    // The kept subject with the matches (all of them when global) replaced;
    // "$&", "$1" and the like in `replacement` stand for the matched text.
    Text replace(const Text& replacement) const;
    int32_t match_count() const;
    // The text of match `index` (from 1); "" for an index out of range. With
    // want_position, `position` gets the match's byte offset in the kept
    // subject, found from its unit index as described at locate_from_unit().
    Text match_text(int32_t index, int32_t& position, bool want_position) const;
    Text match_text(int32_t index) const;
    // The same for group `submatch_index` (from 1) of match `match_index`; ""
    // for a group that took no part.
    Text submatch_text(int32_t match_index, int32_t submatch_index, int32_t& position,
                       bool want_position) const;
    // The number of groups of the first match; 0 when there is no match.
    int32_t submatch_count() const;
    // A second object sharing this one's expression and matches, with its own
    // copy of the kept subject.
    ScriptRegex copy() const;
    // Drops the expression, the matches and the kept subject.
    void destroy();

    // Match `index` as UTF-16 units; empty out of range.
    std::u16string_view match_units(int32_t index) const;
    // Every match's units one after another. Converting the joined units once
    // keeps a character outside the BMP (two surrogate matches) whole.
    std::u16string joined_match_units() const;

    struct Expression;
    struct Matches;

private:
    std::shared_ptr<const Expression> expression_;
    std::shared_ptr<const Matches> matches_;
    Text subject_;
};

// A match's byte position from its UTF-16 unit index: the first occurrence of
// `needle` in `subject` found by stepping characters from byte first_unit - 1
// (units never outnumber bytes before them), as a 1-based position, or -1.
// ASCII letters compare without case when `ignore_case`.
int32_t locate_from_unit(const Text& subject, const Text& needle, int32_t first_unit,
                         bool ignore_case);

}  // namespace quenvar
