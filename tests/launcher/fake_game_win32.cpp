// Stands in for the game under Wine: records whether MAP is there and how it
// was started, runs a second, and ends with 259, the code that a poll of the
// exit code alone cannot tell from a running game.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

int main() {
  const DWORD attributes = GetFileAttributesA("MAP");
  const bool map_present =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const std::string record =
      std::string(map_present ? "MAP present" : "MAP missing") + "\n" + GetCommandLineA() + "\n";
  const HANDLE file = CreateFileA("record.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 2;
  DWORD written = 0;
  WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
  Sleep(1000);
  return 259;
}
