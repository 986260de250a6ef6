// Text and byte operations of the double-byte text model.
#include <algorithm>
#include <cstring>
#include <limits>

#include "text/internal.h"
#include "text/text.h"

namespace quenvar {

namespace {

std::string_view up_to_zero(std::string_view s) {
    return s.substr(0, std::min(s.find('\0'), s.size()));
}

bool is_lead(char byte) {
    return static_cast<unsigned char>(byte) >= 0x80;
}

}  // namespace

Text::Text(const char* s) : value_(s == nullptr ? "" : s) {}
Text::Text(std::string_view s) : value_(up_to_zero(s)) {}
Text::Text(const std::string& s) : value_(up_to_zero(s)) {}
Text::Text(std::string&& s) : value_(std::move(s)) {
    value_.resize(up_to_zero(value_).size());
}

int32_t clamp_length(size_t length) {
    return static_cast<int32_t>(std::min<size_t>(length, std::numeric_limits<int32_t>::max()));
}

// glibc's memmem is several times faster than string_view::find on long texts.
size_t find_bytes(std::string_view text, std::string_view needle, size_t from) {
    if (from > text.size()) return std::string_view::npos;
    const void* hit =
        ::memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
    return hit == nullptr ? std::string_view::npos
                          : static_cast<size_t>(static_cast<const char*>(hit) - text.data());
}

size_t find_at_character(std::string_view text, std::string_view needle, size_t from) {
    size_t known_start = from;  // a position known to start a character
    size_t pos = from;
    while ((pos = find_bytes(text, needle, pos)) != std::string_view::npos) {
        // A byte below 0x80 always ends its character, so the run of lead-range
        // bytes just before `pos` starts a character; pairs decide the rest.
        size_t run_start = pos;
        while (run_start > known_start && is_lead(text[run_start - 1])) --run_start;
        if ((pos - run_start) % 2 == 0) return pos;
        known_start = ++pos;  // pos is a trail byte, so the next byte starts a character
    }
    return std::string_view::npos;
}

int32_t txt_len(const Text& text) {
    return clamp_length(text.view().size());
}

Text txt_left(const Text& text, int32_t count) {
    if (count <= 0) return {};
    return Text(text.view().substr(0, static_cast<size_t>(count)));
}

Text txt_mid(const Text& text, int32_t start, int32_t count) {
    const int32_t length = txt_len(text);
    if (start < 1 || start > length || count <= 0) return {};
    return Text(text.view().substr(static_cast<size_t>(start - 1), static_cast<size_t>(count)));
}

int32_t txt_code_at(const Text& text, int32_t position) {
    if (position < 1 || position > txt_len(text)) return 0;
    return static_cast<signed char>(text.view()[static_cast<size_t>(position - 1)]);
}

int32_t txt_compare(const Text& a, const Text& b) {
    const int order = a.view().compare(b.view());  // char_traits<char> compares as unsigned
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int32_t txt_find(const Text& text, const Text& needle) {
    if (needle.empty()) return text.empty() ? -1 : 1;
    const size_t pos = find_at_character(text.view(), needle.view(), 0);
    return pos == std::string_view::npos ? -1 : clamp_length(pos + 1);
}

Text txt_replace(Text text, const Text& needle, const Text& replacement) {
    const std::string_view n = needle.view();
    const std::string_view r = replacement.view();
    if (text.empty() || n.empty()) return text;

    size_t hit = find_at_character(text.view(), n, 0);
    if (hit == std::string_view::npos && n.size() > 1) return text;  // nothing to do

    // A replacement no longer than the needle is written over the text itself:
    // the write position never passes the read position.
    const bool in_place = r.size() <= n.size();
    std::string source = std::move(text).take();
    std::string fresh;
    if (!in_place) fresh.reserve(source.size());
    std::string& out = in_place ? source : fresh;
    const std::string_view t = source;
    size_t written = 0;
    const auto put = [&](std::string_view bytes) {
        if (in_place) {
            if (bytes.data() != out.data() + written)
                std::memmove(out.data() + written, bytes.data(), bytes.size());
            written += bytes.size();
        } else {
            out.append(bytes);
        }
    };

    size_t pos = 0;  // always the start of a character
    for (; hit != std::string_view::npos; hit = find_at_character(t, n, pos)) {
        put(t.substr(pos, hit - pos));
        put(r);
        pos = hit + n.size();
    }
    std::string_view rest = t.substr(pos);
    // A one-byte needle walks the scan up to a lone lead byte at the very end,
    // which the scan then drops; a longer needle stops before it.
    if (n.size() == 1 && !rest.empty() && is_lead(rest.back())) {
        size_t run = 0;
        while (run < rest.size() && is_lead(rest[rest.size() - 1 - run])) ++run;
        if (run % 2 == 1) rest.remove_suffix(1);
    }
    put(rest);
    if (in_place) out.resize(written);
    return Text(std::move(out));
}

Text txt_trim(const Text& text) {
    const std::string_view t = text.view();
    const auto is_wide_space = [&](size_t i) {
        return i + 1 < t.size() && static_cast<unsigned char>(t[i]) == 0xA1 &&
               static_cast<unsigned char>(t[i + 1]) == 0xA1;
    };

    size_t begin = 0;
    while (begin < t.size()) {
        if (t[begin] == ' ') {
            begin += 1;
        } else if (is_wide_space(begin)) {
            begin += 2;
        } else {
            break;
        }
    }

    size_t end = t.size();
    size_t run_start = std::string_view::npos;  // start of the latest run of blanks
    for (size_t i = begin; i < t.size();) {
        if (is_lead(t[i])) {
            if (i + 1 == t.size()) {  // lone lead byte: cut before it, keep the blanks
                end = i;
                run_start = std::string_view::npos;
                break;
            }
            if (is_wide_space(i)) {
                if (run_start == std::string_view::npos) run_start = i;
            } else {
                run_start = std::string_view::npos;
            }
            i += 2;
        } else {
            if (t[i] == ' ') {
                if (run_start == std::string_view::npos) run_start = i;
            } else {
                run_start = std::string_view::npos;
            }
            i += 1;
        }
    }
    if (run_start != std::string_view::npos) end = run_start;
    return Text(t.substr(begin, end - begin));
}

Text txt_fullwidth(const Text& text) {
    const std::string_view t = text.view();
    std::string out;
    out.reserve(t.size() * 2);
    for (size_t i = 0; i < t.size();) {
        const auto byte = static_cast<unsigned char>(t[i]);
        if (byte >= 0x80) {
            if (i + 1 < t.size()) out.append(t.substr(i, 2));  // a lone lead byte is dropped
            i += 2;
            continue;
        }
        if (byte == 0x20) {
            out.append("\xA1\xA1");
        } else if (byte == 0x7E) {
            out.append("\xA1\xAB");
        } else if (byte >= 0x21 && byte <= 0x7D) {
            out.push_back('\xA3');
            out.push_back(static_cast<char>(byte + 0x80));
        } else {
            out.push_back(static_cast<char>(byte));
        }
        i += 1;
    }
    return Text(std::move(out));
}

Text txt_halfwidth(const Text& text) {
    const std::string_view t = text.view();
    std::string out;
    out.reserve(t.size());
    for (size_t i = 0; i < t.size();) {
        const auto lead = static_cast<unsigned char>(t[i]);
        if (lead < 0x80) {
            out.push_back(t[i]);
            i += 1;
            continue;
        }
        if (i + 1 == t.size()) break;  // a lone lead byte is dropped
        const auto trail = static_cast<unsigned char>(t[i + 1]);
        if (lead == 0xA1 && trail == 0xA1) {
            out.push_back(' ');
        } else if (lead == 0xA1 && trail == 0xAB) {
            out.push_back('~');
        } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
            out.push_back('*');
        } else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            out.push_back(static_cast<char>(trail - 0x80));
        } else {
            out.append(t.substr(i, 2));
        }
        i += 2;
    }
    return Text(std::move(out));
}

std::string concat(std::initializer_list<std::string_view> parts) {
    size_t total = 0;
    for (std::string_view part : parts) total += part.size();
    std::string out;
    out.reserve(total);
    for (std::string_view part : parts) out.append(part);
    return out;
}

Text txt_join_all(std::initializer_list<std::string_view> parts) {
    return Text(concat(parts));
}

Bytes txt_to_bin(const Text& text) {
    return Bytes(text.view());
}

Text bin_to_txt(const Bytes& data) {
    return Text(data.view());
}

Text bin_to_txt(Bytes&& data) {
    return Text(std::move(data).take());
}

int32_t bin_len(const Bytes& data) {
    return clamp_length(data.view().size());
}

Bytes bin_mid(const Bytes& data, int32_t start, int32_t count) {
    const int64_t length = data.view().size();
    const int64_t skip = std::clamp<int64_t>(int64_t{start} - 1, 0, length);
    const int64_t take = std::clamp<int64_t>(count, 0, length - skip);
    return Bytes(data.view().substr(static_cast<size_t>(skip), static_cast<size_t>(take)));
}

Bytes bin_join_all(std::initializer_list<std::string_view> parts) {
    return Bytes(concat(parts));
}

BytesList bin_split(const Bytes& data, const Bytes& separator) {
    const std::string_view d = data.view();
    const std::string_view sep = separator.view();
    BytesList members;
    if (d.empty()) return members;
    if (sep.empty()) {
        members.emplace_back(d);
        return members;
    }
    size_t member_start = 0;
    for (size_t hit; (hit = find_bytes(d, sep, member_start)) != std::string_view::npos;) {
        members.emplace_back(d.substr(member_start, hit - member_start));
        member_start = hit + sep.size();
    }
    if (member_start < d.size()) members.emplace_back(d.substr(member_start));
    return members;
}

}  // namespace quenvar
