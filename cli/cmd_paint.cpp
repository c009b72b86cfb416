// kxc2tool paint / preview.
#include <stdexcept>

#include "cli/commands.h"

namespace kxc2::cli {

int RunPaint(const std::vector<std::string>&) { throw std::runtime_error("paint is not built yet"); }

int RunPreview(const std::vector<std::string>&) { throw std::runtime_error("preview is not built yet"); }

}  // namespace kxc2::cli
