#pragma once

#include <string>

namespace kxc2 {

enum class HexCaptionKind { Selected, Cursor };

// The header's text for a hex: "Selected: ( 03, 02 ) City " for the
// selection, "Cursor at: ( 03, 02 ) City " for the hex under the pointer.
std::string HexCaption(HexCaptionKind kind, int column, int row, int code);

}  // namespace kxc2
