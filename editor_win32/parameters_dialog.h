#pragma once

#include <windows.h>

#include "editing/shell.h"

namespace kxc2::win32 {

// "Set map parameters", modal. Map number and season live on between uses,
// as the Qt dialog's kept widgets keep them; columns, rows and whether the
// season may be chosen come from the caller. All come out, also on Cancel.
// True for OK.
bool RunParametersDialog(HWND owner, Shell::MapParameters& parameters);

// The map number the dialog would show next.
int ParametersDialogMapNumber();

}  // namespace kxc2::win32
