#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kxc2 {

// The whole content of an ordinary file (following links); nothing for a
// missing file, a folder, a pipe or device (opening a pipe would wait for a
// writer for ever) or a read that fails.
std::optional<std::vector<std::uint8_t>> ReadOrdinaryFile(const std::string& path);

}  // namespace kxc2
