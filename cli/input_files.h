#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/map_grid.h"

namespace kxc2::cli {

// The files a command is given to read. Failures throw std::runtime_error
// "PATH: MESSAGE" with the runtime's message, so the user sees which file.

MapDocument ReadMapInput(const std::string& path);

std::vector<std::uint8_t> ReadInputBytes(const std::string& path);

}  // namespace kxc2::cli
