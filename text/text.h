// The byte-counted double-byte text model (GBK / GB18030) and the article cut.
//
// Every text the tool handles is a byte string in the Chinese double-byte code
// page. Lengths and positions count bytes (positions from 1), and a character is
// found by the lead-byte rule: a byte of 0x80 or above opens a two-byte
// character together with whatever byte follows it; any other byte stands alone.
// No operation reports failure: out-of-range arguments give the empty value,
// -1 or 0, and callers carry on with that.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace quenvar {

// A code page 936 text that never holds a zero byte. The empty text and a
// missing text are the same value. Building one from bytes that hold a zero
// keeps only what stands before the first zero.
class Text {
public:
    Text() = default;
    Text(const char* s);
    Text(std::string_view s);
    Text(const std::string& s);
    Text(std::string&& s);

    std::string_view view() const { return value_; }
    const std::string& str() const { return value_; }
    const char* c_str() const { return value_.c_str(); }
    bool empty() const { return value_.empty(); }
    // Hands the bytes over without a copy; the text is empty afterwards.
    std::string take() && { return std::move(value_); }

    friend bool operator==(const Text&, const Text&) = default;

private:
    std::string value_;
};

// A counted byte sequence that may hold zero bytes.
class Bytes {
public:
    Bytes() = default;
    explicit Bytes(std::string_view data) : value_(data) {}
    explicit Bytes(std::string&& data) : value_(std::move(data)) {}

    std::string_view view() const { return value_; }
    const std::string& str() const { return value_; }
    bool empty() const { return value_.empty(); }
    // Hands the bytes over without a copy; the value is empty afterwards.
    std::string take() && { return std::move(value_); }

    friend bool operator==(const Bytes&, const Bytes&) = default;

private:
    std::string value_;
};

using BytesList = std::vector<Bytes>;

// --- text access -------------------------------------------------------------
int32_t txt_len(const Text& text);
Text txt_left(const Text& text, int32_t count);
Text txt_mid(const Text& text, int32_t start, int32_t count);
// The byte at `position` as a signed 8-bit value; 0 outside the text.
int32_t txt_code_at(const Text& text, int32_t position);
// Unsigned byte order; a prefix compares lower.
int32_t txt_compare(const Text& a, const Text& b);

// --- searching, replacing, spaces and widths (all step by characters) -----
// Position of the first match that starts on a character, or -1.
int32_t txt_find(const Text& text, const Text& needle);
// Taken by value so that a text handed over with std::move is worked on in place.
Text txt_replace(Text text, const Text& needle, const Text& replacement);
// Removes leading and trailing blanks (0x20 and the full-width A1 A1).
Text txt_trim(const Text& text);
Text txt_fullwidth(const Text& text);
Text txt_halfwidth(const Text& text);

Text txt_join_all(std::initializer_list<std::string_view> parts);
inline std::string_view txt_view(const Text& text) {
    return text.view();
}
// The operands' bytes one after another.
template <typename... More>
Text txt_join(const Text& a, const Text& b, const More&... more) {
    return txt_join_all({a.view(), b.view(), txt_view(more)...});
}

// --- bytes -----------------------------------------------------------------------
Bytes txt_to_bin(const Text& text);
// The bytes before the first zero byte.
Text bin_to_txt(const Bytes& data);
Text bin_to_txt(Bytes&& data);
int32_t bin_len(const Bytes& data);
// Clamps start and count into the data instead of giving up.
Bytes bin_mid(const Bytes& data, int32_t start, int32_t count);

Bytes bin_join_all(std::initializer_list<std::string_view> parts);
// The operands' bytes one after another.
template <typename... More>
Bytes bin_join(const Bytes& a, const Bytes& b, const More&... more) {
    return bin_join_all({a.view(), b.view(), more.view()...});
}

// Plain byte search at every offset; no member after a final separator.
BytesList bin_split(const Bytes& data, const Bytes& separator);

// --- numbers -----------------------------------------------------------------------
int32_t num_to_int(int32_t number);
// Truncates toward zero and keeps the low 32 bits; NaN, infinities and values
// beyond the 64-bit range give 0.
int32_t num_to_int(double number);
// Leading decimal integer after half-width conversion, wrapping on overflow.
int32_t txt_to_int(const Text& text);
// The same integer held within the int32 range instead of wrapping.
int32_t txt_to_int_saturated(const Text& text);
// Leading decimal number after half-width conversion (no hex, inf or nan).
double txt_to_num(const Text& text);
// Floor that takes values a hair short of the next integer as that integer.
int32_t num_floor(double number);
// Half away from zero, nudged up by 1e-12 on the scaled magnitude.
double num_round(double number, int32_t places);
Text num_to_txt(int32_t number);
// "%.13g" with a three-digit exponent; 1.#INF, -1.#INF, -1.#IND.
Text num_to_txt(double number);

// --- Unicode at the program's edges -----------------------------------------
// GB18030 covers all of Unicode, so valid input round-trips without loss. A byte
// sequence that is not GB18030 (a lone lead byte, say) or a lone surrogate
// becomes U+FFFD; a zero code unit ends the text.
std::u16string txt_to_utf16(const Text& text);
Text utf16_to_txt(std::u16string_view text);
std::string txt_to_utf8(const Text& text);
Text utf8_to_txt(std::string_view text);

// All or nothing, exactly as iconv converts "UTF-8" to "GB18030", but several
// times faster: false, with `out` empty, unless `utf8` is well-formed. Result
// pages of a megabyte go through this for every segment of a check.
bool utf8_to_gb18030(std::string_view utf8, Bytes& out);

// --- the article cut ------------------------------------------------------------
// The 16 bytes of "●◆●●◆●●●" that stand between the segments of a cut.
// Empty before the first cut and after release_separator().
Bytes segment_separator();
void release_separator();

// Cuts the article into pieces of `size` bytes that never split a character,
// joined by the separator, without the final separator. Rebuilds the separator.
Bytes cut_into_segments(const Text& article, int32_t size);

}  // namespace quenvar
