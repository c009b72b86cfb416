#pragma once

#include <string>
#include <string_view>

namespace kxc2 {

// The game's names compare in capitals, and only a to z are turned: UTF-8
// bytes of other letters stay as they are.
constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

}  // namespace kxc2
