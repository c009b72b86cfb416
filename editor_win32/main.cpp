// KxC2Map.exe: the map editor's program start on Windows.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "editor_win32/main_window.h"
#include "editor_win32/preview_window.h"
#include "editor_win32/wide_text.h"
#include "export/memory_reuse.h"

namespace {

// The folder of the running program, with a trailing separator.
std::string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return kxc2::win32::Narrow(path.substr(0, path.find_last_of(L"\\/") + 1));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  kxc2::KeepFreedMemoryForReuse();
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);

  // Creating the main window runs FormCreate: settings, game folder, view state.
  kxc2::win32::MainWindow form1(ProgramFolder());
  form1.show(show);
  // A map named on the command line (or by the desktop) opens once the
  // window is up, as Open would open it.
  int count = 0;
  if (wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count)) {
    if (count > 1) form1.openLater(arguments[1]);
    LocalFree(arguments);
  }

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (kxc2::win32::PreviewIsDialogMessage(message) || form1.preTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return int(message.wParam);
}
