#include "editing/hex_caption.h"

#include <cstdio>
#include <vector>

#include "core/terrain.h"

namespace kxc2 {

std::string HexCaption(HexCaptionKind kind, int column, int row, int code) {
  const char* format =
      kind == HexCaptionKind::Selected ? "Selected: ( %.2d, %.2d ) %s " : "Cursor at: ( %.2d, %.2d ) %s ";
  const std::string name = DisplayNameOrUnknown(code);
  const int length = std::snprintf(nullptr, 0, format, column, row, name.c_str());
  std::vector<char> text(static_cast<std::size_t>(length) + 1);
  std::snprintf(text.data(), text.size(), format, column, row, name.c_str());
  return {text.data(), static_cast<std::size_t>(length)};
}

}  // namespace kxc2
