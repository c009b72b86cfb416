#include "editing/settings_location.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/game_paths.h"
#include "core/os_files.h"

namespace kxc2 {

namespace {

const char* const kSettingsFileName = "KXC2MAP.INI";

#ifndef _WIN32
// $HOME tidied as the toolkit tidies it: no "..", no doubled or trailing
// separator; the root when unset.
std::string TidyHome(const char* home) {
  if (home == nullptr || *home == '\0') return "/";
  std::string tidy = std::filesystem::path(home).lexically_normal().string();
  while (tidy.size() > 1 && tidy.back() == '/') tidy.pop_back();
  return tidy;
}
#endif

}  // namespace

std::string UserBaseFolder(UserFolderKind kind) {
  const bool config = kind == UserFolderKind::Config;
#ifdef _WIN32
  const wchar_t* base = _wgetenv(config ? L"APPDATA" : L"LOCALAPPDATA");
  return base != nullptr ? Utf8FromWide(base) : std::string();
#else
  // XDG_*_HOME is taken as it is written, as the toolkit took it.
  const char* xdg = std::getenv(config ? "XDG_CONFIG_HOME" : "XDG_DATA_HOME");
  if (xdg != nullptr && *xdg != '\0') return xdg;
  return TidyHome(std::getenv("HOME")) + (config ? "/.config" : "/.local/share");
#endif
}

std::string UserConfigFolder(std::string_view application) {
  const std::string base = UserBaseFolder(UserFolderKind::Config);
  if (base.empty()) return {};
  return base + kPathSeparator + std::string(application) + kPathSeparator;
}

std::string SettingsFilePath(const std::string& programFolder, const std::string& userFolder) {
  const std::string beside = ResolveNoCase(programFolder, kSettingsFileName);
  if (userFolder.empty() || KindOf(beside) == FileKind::Regular || FolderTakesNewFiles(programFolder)) return beside;
  return ResolveNoCase(userFolder, kSettingsFileName);
}

bool MakeSettingsFolder(const std::string& settingsFile) {
  std::error_code error;
  const std::filesystem::path folder = FsPath(FolderOf(settingsFile));
  std::filesystem::create_directories(folder, error);
  return std::filesystem::is_directory(folder, error);
}

}  // namespace kxc2
