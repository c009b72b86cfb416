#pragma once

#include <windows.h>

namespace kxc2::win32 {

// Help > "Keys and Mouse": every key and mouse gesture of the editor, in a
// small modeless window made once and brought back to the front; Esc closes it.
void ShowKeysWindow(HWND owner);

}  // namespace kxc2::win32
