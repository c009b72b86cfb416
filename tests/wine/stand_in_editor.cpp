// Stands in for KxC2Map.exe in the installer's test while the build has no
// Windows editor: it writes the command line it was started with, in UTF-8,
// to the file named by KXC2_COMMAND_LINE_FILE, so the test sees exactly
// what the .map file type runs.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

int wmain() {
  const wchar_t* path = _wgetenv(L"KXC2_COMMAND_LINE_FILE");
  if (path == nullptr) return 2;
  const wchar_t* line = GetCommandLineW();
  const int size = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
  std::string text(size > 0 ? size - 1 : 0, '\0');
  WideCharToMultiByte(CP_UTF8, 0, line, -1, text.data(), size, nullptr, nullptr);
  FILE* file = _wfopen(path, L"wb");
  if (file == nullptr) return 3;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written ? 0 : 4;
}
