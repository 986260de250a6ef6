// Helpers shared by the text library's own sources; not part of its interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace quenvar {

// A byte count as the model's int32 length.
int32_t clamp_length(size_t length);

// First occurrence of `needle` at or after `from`, at any byte offset.
size_t find_bytes(std::string_view text, std::string_view needle, size_t from);

// First occurrence of `needle` at or after `from` that starts on a character
// by the lead-byte rule, given that `from` starts one; npos when none does.
size_t find_at_character(std::string_view text, std::string_view needle, size_t from);

std::string concat(std::initializer_list<std::string_view> parts);

}  // namespace quenvar
