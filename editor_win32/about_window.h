#pragma once

#include <windows.h>

namespace kxc2::win32 {

// "About KxC2Map": modeless, one per owner, made on the first call and
// shown again (centred, in front) on each later one. Escape closes it.
void ShowAboutWindow(HWND owner);

}  // namespace kxc2::win32
