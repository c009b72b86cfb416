#include "launcher/win32_platform.h"

#include <cctype>
#include <string>
#include <vector>

#include "launcher/exit_code_poll.h"

namespace kxc2 {
namespace {

// DETACHED_PROCESS | NORMAL_PRIORITY_CLASS
constexpr DWORD kCreationFlags = 40;
static_assert(kCreationFlags == (DETACHED_PROCESS | NORMAL_PRIORITY_CLASS));

// The start-up record is 68 bytes on 32-bit Windows; on 64-bit its pointers
// make it 104, and cb must then say 104, so the size comes from sizeof.
#if !defined(_WIN64)
static_assert(sizeof(STARTUPINFOA) == 68);
#else
static_assert(sizeof(STARTUPINFOA) == 104);
#endif

// Entries that the test skips, as a search for folders with no other
// attributes requested does.
constexpr DWORD kSkippedAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | 0x8 /* volume label */;

bool EqualIgnoringCase(const char* a, std::string_view b) {
  std::size_t i = 0;
  for (; a[i] != '\0' && i < b.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return a[i] == '\0' && i == b.size();
}

}  // namespace

Win32Platform::~Win32Platform() { CloseGame(); }

bool Win32Platform::WriteLine(std::string_view text) {
  std::string line(text);
  line += "\r\n";
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == INVALID_HANDLE_VALUE || out == nullptr) return false;
  std::size_t done = 0;
  while (done < line.size()) {
    DWORD written = 0;
    if (!WriteFile(out, line.data() + done, static_cast<DWORD>(line.size() - done), &written,
                   nullptr) ||
        written == 0)
      return false;
    done += written;
  }
  return true;
}

std::string Win32Platform::CurrentFolder() {
  // The folder may change between the two calls; ask again until it fits.
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length);
  }
}

std::optional<std::string> Win32Platform::FindEntry(const std::string& folder,
                                                    std::string_view name) {
  const std::string pattern = folder + "\\" + std::string(name);
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::string> result;
  do {
    if ((found.dwFileAttributes & kSkippedAttributes) == 0) {
      // Renaming back under the spelling found keeps the folder's own case;
      // a match on a short name falls back to the name asked for.
      result = EqualIgnoringCase(found.cFileName, name) ? std::string(found.cFileName)
                                                        : std::string(name);
      break;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return result;
}

bool Win32Platform::Rename(const std::string& from, const std::string& to) {
  return MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool Win32Platform::StartGame() {
  char command_line[] = "korvex2.exe";
  STARTUPINFOA startup{};
  startup.cb = sizeof(STARTUPINFOA);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command_line, nullptr, nullptr, FALSE, kCreationFlags, nullptr,
                      nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  game_ = process.hProcess;
  return true;
}

bool Win32Platform::GameRunning() {
  if (game_ == nullptr) return false;
  DWORD code = 0;
  std::optional<std::uint32_t> exit_code;
  if (GetExitCodeProcess(game_, &code)) exit_code = code;
  return StillRunning(exit_code, [this] { return WaitForSingleObject(game_, 0) != WAIT_TIMEOUT; });
}

void Win32Platform::CloseGame() {
  if (game_ != nullptr) CloseHandle(game_);
  game_ = nullptr;
}

void Win32Platform::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

}  // namespace kxc2
