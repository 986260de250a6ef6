// The scripting RegExp object's behaviour on Boost.Regex over UTF-16 units.
//
// Each UTF-16 unit of a text becomes one wchar_t, surrogates included, so the
// engine sees exactly the characters the scripting object saw and every index
// counts units.
#include "script_regex/script_regex.h"

#include <boost/regex.hpp>

#include <bitset>
#include <locale>
#include <map>
#include <mutex>
#include <vector>

namespace quenvar {

namespace {

struct Span {
    int32_t first = 0;  // unit index in the subject
    int32_t length = 0;
    bool matched = false;
};

std::wstring widen(std::u16string_view units) {
    return std::wstring(units.begin(), units.end());
}

std::u16string narrow(std::wstring_view wide) {
    std::u16string units(wide.size(), u'\0');
    for (size_t i = 0; i < wide.size(); ++i) units[i] = static_cast<char16_t>(wide[i]);
    return units;
}

// Which units a pattern matches when the whole pattern is one character class
// ("[^\x20-\x7f]", "\s"): such a pattern matches single units regardless of
// their neighbours, so a table answers it far faster than a search per unit.
using UnitClass = std::bitset<0x10000>;

bool looks_like_one_class(std::u16string_view p) {
    static constexpr std::u16string_view escapes[] = {u"\\s", u"\\S", u"\\d",
                                                      u"\\D", u"\\w", u"\\W"};
    for (std::u16string_view e : escapes) {
        if (p == e) return true;
    }
    if (p.size() < 3 || p.front() != u'[') return false;
    size_t i = 1;
    if (p[i] == u'^') ++i;
    if (i < p.size() && p[i] == u']') ++i;  // a leading ] is a member
    for (; i < p.size(); ++i) {
        if (p[i] == u'\\') {
            ++i;
        } else if (p[i] == u'[' && i + 1 < p.size() &&
                   (p[i + 1] == u':' || p[i + 1] == u'=' || p[i + 1] == u'.')) {
            const char16_t kind = p[i + 1];
            const size_t close = p.find(std::u16string{kind, u']'}, i + 2);
            if (close == std::u16string_view::npos) return false;
            i = close + 1;
        } else if (p[i] == u']') {
            return i + 1 == p.size();
        }
    }
    return false;
}

std::shared_ptr<const UnitClass> build_unit_class(const boost::wregex& regex,
                                                  boost::match_flag_type flags) {
    std::wstring every_unit(0x10000, L'\0');
    for (size_t u = 0; u < every_unit.size(); ++u) every_unit[u] = static_cast<wchar_t>(u);
    auto members = std::make_shared<UnitClass>();
    try {
        for (boost::wsregex_iterator it(every_unit.begin(), every_unit.end(), regex, flags), end;
             it != end; ++it) {
            // Anything but single units means it was not one class after all.
            if ((*it)[0].length() != 1) return nullptr;
            members->set(static_cast<size_t>(it->position()));
        }
    } catch (const std::exception&) {
        return nullptr;
    }
    return members;
}

// The tables live for the program's run; the system only ever uses two.
std::shared_ptr<const UnitClass> unit_class_for(const std::u16string& pattern, bool ignore_case,
                                                const boost::wregex& regex,
                                                boost::match_flag_type flags) {
    if (!looks_like_one_class(pattern)) return nullptr;
    static std::mutex mutex;
    static auto* tables =
        new std::map<std::pair<std::u16string, bool>, std::shared_ptr<const UnitClass>>;
    const std::lock_guard lock(mutex);
    auto& table = (*tables)[{pattern, ignore_case}];
    if (table == nullptr && tables->size() <= 16) table = build_unit_class(regex, flags);
    return table;
}

bool is_lead(char byte) {
    return static_cast<unsigned char>(byte) >= 0x80;
}

char fold_ascii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
}

}  // namespace

struct ScriptRegex::Expression {
    Text pattern;
    bool ignore_case = true;
    bool multiline = true;
    bool global = true;
    std::optional<boost::wregex> regex;  // none when the pattern does not compile
    std::shared_ptr<const UnitClass> unit_class;

    boost::match_flag_type match_flags() const {
        // "." stops at line breaks, and ^ and $ only see line breaks in multi-line mode.
        boost::match_flag_type flags = boost::match_default | boost::match_not_dot_newline;
        if (!multiline) flags |= boost::match_single_line;
        return flags;
    }
};

struct ScriptRegex::Matches {
    std::u16string subject;
    std::vector<Span> whole;
    std::vector<Span> groups;  // group_count spans per match, one match after another
    size_t group_count = 0;
    // A one-class pattern's matches are the subject's member units: they are
    // counted at once and indexed only when a caller asks for one by number.
    std::shared_ptr<const UnitClass> members;
    size_t member_count = 0;
    mutable std::once_flag indexed;
    mutable std::vector<int32_t> member_index;

    size_t size() const { return members != nullptr ? member_count : whole.size(); }
    Span match(size_t i) const {
        if (members == nullptr) return whole[i];
        std::call_once(indexed, [this] {
            member_index.reserve(member_count);
            for (size_t u = 0; u < subject.size() && member_index.size() < member_count; ++u) {
                if (members->test(subject[u])) member_index.push_back(static_cast<int32_t>(u));
            }
        });
        return Span{member_index[i], 1, true};
    }

    std::u16string_view units(const Span& span) const {
        return std::u16string_view(subject).substr(static_cast<size_t>(span.first),
                                                   static_cast<size_t>(span.length));
    }
};

ScriptRegex::ScriptRegex() = default;
ScriptRegex::~ScriptRegex() = default;
ScriptRegex::ScriptRegex(ScriptRegex&&) noexcept = default;
ScriptRegex& ScriptRegex::operator=(ScriptRegex&&) noexcept = default;

bool ScriptRegex::execute(const Text& pattern, const Text& subject,
                          std::optional<bool> case_sensitive, std::optional<bool> multiline,
                          std::optional<bool> global) {
    auto expression = std::make_shared<Expression>();
    expression->pattern = pattern;
    expression->ignore_case = !case_sensitive.value_or(false);
    expression->multiline = multiline.value_or(true);
    expression->global = global.value_or(true);
    const std::u16string pattern_units = txt_to_utf16(pattern);
    try {
        boost::wregex regex;
        // The classic locale keeps classes and case folding to ASCII, as the
        // scripting object's \s and \w were.
        regex.imbue(std::locale::classic());
        regex.assign(widen(pattern_units),
                     boost::regex::perl |
                         (expression->ignore_case ? boost::regex::icase : boost::regex::normal));
        expression->regex = std::move(regex);
        expression->unit_class = unit_class_for(pattern_units, expression->ignore_case,
                                                *expression->regex, expression->match_flags());
    } catch (const std::exception&) {
        // An invalid pattern: the object exists, but it delivers no matches.
    }
    expression_ = expression;
    matches_.reset();
    subject_ = subject;
    if (!expression->regex) return false;

    auto matches = std::make_shared<Matches>();
    matches->subject = txt_to_utf16(subject);
    const std::u16string& units = matches->subject;
    if (const UnitClass* members = expression->unit_class.get()) {
        matches->members = expression->unit_class;
        for (const char16_t unit : units) matches->member_count += members->test(unit);
        if (!expression->global) matches->member_count = std::min<size_t>(matches->member_count, 1);
    } else {
        matches->group_count = expression->regex->mark_count();
        const std::wstring wide = widen(units);
        try {
            for (boost::wsregex_iterator
                     it(wide.begin(), wide.end(), *expression->regex, expression->match_flags()),
                 end;
                 it != end; ++it) {
                const boost::wsmatch& m = *it;
                const auto span = [&](size_t group) {
                    return m[group].matched ? Span{static_cast<int32_t>(m.position(group)),
                                                   static_cast<int32_t>(m.length(group)), true}
                                            : Span{};
                };
                matches->whole.push_back(span(0));
                for (size_t g = 1; g <= matches->group_count; ++g)
                    matches->groups.push_back(span(g));
                if (!expression->global) break;
            }
        } catch (const std::exception&) {
            return false;  // the engine gave up: no match collection
        }
    }
    matches_ = std::move(matches);
    return true;
}

Text ScriptRegex::pattern() const {
    return expression_ ? expression_->pattern : Text();
}

Text ScriptRegex::replace(const Text& replacement) const {
    if (!expression_ || !expression_->regex) return {};
    const Expression& e = *expression_;
    const std::u16string subject = txt_to_utf16(subject_);
    const std::u16string with = txt_to_utf16(replacement);
    if (e.unit_class && with.find(u'$') == std::u16string::npos) {
        std::u16string out;
        out.reserve(subject.size());
        bool replaced = false;
        for (const char16_t unit : subject) {
            if (e.unit_class->test(unit) && (e.global || !replaced)) {
                out += with;
                replaced = true;
            } else {
                out.push_back(unit);
            }
        }
        return utf16_to_txt(out);
    }
    try {
        boost::match_flag_type flags = e.match_flags() | boost::format_default;
        if (!e.global) flags |= boost::format_first_only;
        return utf16_to_txt(
            narrow(boost::regex_replace(widen(subject), *e.regex, widen(with), flags)));
    } catch (const std::exception&) {
        return {};
    }
}

int32_t ScriptRegex::match_count() const {
    return matches_ ? static_cast<int32_t>(matches_->size()) : 0;
}

std::u16string_view ScriptRegex::match_units(int32_t index) const {
    if (index < 1 || index > match_count()) return {};
    return matches_->units(matches_->match(static_cast<size_t>(index - 1)));
}

Text ScriptRegex::match_text(int32_t index) const {
    return utf16_to_txt(match_units(index));
}

std::u16string ScriptRegex::joined_match_units() const {
    std::u16string joined;
    if (!matches_) return joined;
    const Matches& m = *matches_;
    if (m.members != nullptr) {
        joined.reserve(m.member_count);
        for (size_t u = 0; u < m.subject.size() && joined.size() < m.member_count; ++u) {
            if (m.members->test(m.subject[u])) joined.push_back(m.subject[u]);
        }
        return joined;
    }
    for (const Span& span : m.whole) joined += m.units(span);
    return joined;
}

Text ScriptRegex::match_text(int32_t index, int32_t& position, bool want_position) const {
    const Text text = match_text(index);
    if (want_position) {
        const bool found = index >= 1 && index <= match_count();
        const int32_t first = found ? matches_->match(static_cast<size_t>(index - 1)).first : 0;
        // With no expression object its IgnoreCase reads as "", which is not "0".
        const bool ignore_case = expression_ ? expression_->ignore_case : true;
        position = locate_from_unit(subject_, text, first, ignore_case) - 1;
    }
    return text;
}

Text ScriptRegex::submatch_text(int32_t match_index, int32_t submatch_index, int32_t& position,
                                bool want_position) const {
    Text text;
    int32_t first = 0;
    if (match_index >= 1 && match_index <= match_count()) {
        const size_t m = static_cast<size_t>(match_index - 1);
        first = matches_->match(m).first;
        if (submatch_index >= 1 && static_cast<size_t>(submatch_index) <= matches_->group_count) {
            const Span& group =
                matches_
                    ->groups[m * matches_->group_count + static_cast<size_t>(submatch_index - 1)];
            if (group.matched) text = utf16_to_txt(matches_->units(group));
        }
    }
    if (want_position) {
        const bool ignore_case = expression_ ? expression_->ignore_case : true;
        position = locate_from_unit(subject_, text, first, ignore_case) - 1;
    }
    return text;
}

int32_t ScriptRegex::submatch_count() const {
    return match_count() > 0 ? static_cast<int32_t>(matches_->group_count) : 0;
}

ScriptRegex ScriptRegex::copy() const {
    ScriptRegex twin;
    twin.expression_ = expression_;
    twin.matches_ = matches_;
    twin.subject_ = subject_;
    return twin;
}

void ScriptRegex::destroy() {
    expression_.reset();
    subject_ = Text();
    matches_.reset();
}

int32_t locate_from_unit(const Text& subject, const Text& needle, int32_t first_unit,
                         bool ignore_case) {
    const std::string_view s = subject.view();
    const std::string_view n = needle.view();
    const size_t start = first_unit - 1 < 0 ? 0 : static_cast<size_t>(first_unit - 1);
    if (start >= s.size()) return -1;  // nothing remains to search
    if (n.empty()) return 1;
    const auto equal_at = [&](size_t at) {
        for (size_t k = 0; k < n.size(); ++k) {
            const char a = s[at + k], b = n[k];
            if (ignore_case ? fold_ascii(a) != fold_ascii(b) : a != b) return false;
        }
        return true;
    };
    // Steps by characters from `start`, whatever byte stands there.
    for (size_t i = start; i < s.size();) {
        if (s.size() - i >= n.size() && equal_at(i)) return static_cast<int32_t>(i + 1);
        if (is_lead(s[i])) {
            if (i + 1 == s.size()) return -1;  // a lone lead byte ends the search
            i += 2;
        } else {
            i += 1;
        }
    }
    return -1;
}

}  // namespace quenvar
