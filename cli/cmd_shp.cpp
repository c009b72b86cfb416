// Placeholder until the SHP commands land.
#include <stdexcept>

#include "cli/commands.h"

namespace kxc2::cli {

int RunShp(const std::vector<std::string>&) { throw std::runtime_error("shp: not available in this build"); }
int RunUnshp(const std::vector<std::string>&) { throw std::runtime_error("unshp: not available in this build"); }

}  // namespace kxc2::cli
