// Byte strings written as hexadecimal pairs, for test tables.
#pragma once

#include <string>
#include <string_view>

namespace quenvar::testing {

// "D6 D0 61" gives the three bytes D6 D0 61; blanks between pairs are ignored.
inline std::string hex(std::string_view pairs) {
    const auto nibble = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    std::string bytes;
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (pairs[i] == ' ') continue;
        bytes.push_back(static_cast<char>(nibble(pairs[i]) * 16 + nibble(pairs[i + 1])));
        ++i;
    }
    return bytes;
}

// The bytes again as spaced hexadecimal pairs, for readable failure messages.
inline std::string to_hex(std::string_view bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        if (!out.empty()) out.push_back(' ');
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

}  // namespace quenvar::testing
