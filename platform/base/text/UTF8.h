// base::utf8: helpers for UTF-8 texts. Where the design counts the characters of a text it counts Unicode
// code points, and cutting a text never splits one. Pure functions, usable on any thread.
//
//   size_t n = base::utf8::countCodePoints("中文"); // 2
//   std::string_view head = base::utf8::prefix(text, 10);
//   std::string_view fits = base::utf8::truncateToBytes(text, 255);
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace base::utf8 {

// Well-formed UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF.
bool isValid(std::string_view text);

// Decodes the code point starting at `position` and moves `position` past it. An ill-formed sequence
// gives nothing and moves `position` past its first byte, so a caller can always make progress.
[[nodiscard]] std::optional<char32_t> decodeNext(std::string_view text, size_t& position);

// Appends the UTF-8 form of a code point; surrogates and values above U+10FFFF append U+FFFD.
void append(std::string& text, char32_t codePoint);

// Counts code points; each byte of an ill-formed sequence counts as one.
size_t countCodePoints(std::string_view text);

// The first `count` code points (all of the text when it has fewer).
std::string_view prefix(std::string_view text, size_t count);

// The longest start of the text that has at most `maxBytes` bytes and ends on a code-point boundary.
std::string_view truncateToBytes(std::string_view text, size_t maxBytes);

} // namespace base::utf8
