#pragma once
// Reading UTF-8 text one code point at a time (text input, text layout).

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace nimbo {

constexpr uint32_t REPLACEMENT_CHARACTER = 0xFFFD;

// The code point starting at pos, advancing pos past it. A malformed or cut-off sequence gives
// REPLACEMENT_CHARACTER and advances by one byte. pos must be below text.size().
uint32_t nextCodePoint(std::string_view text, size_t& pos);

} // namespace nimbo
