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

std::string UserConfigFolder(std::string_view application) {
#ifdef _WIN32
  const wchar_t* appData = _wgetenv(L"APPDATA");
  if (appData == nullptr || *appData == L'\0') return {};
  return Utf8FromWide(appData) + '\\' + std::string(application) + '\\';
#else
  // XDG_CONFIG_HOME is taken as it is written, as the toolkit took it.
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  const std::string base = configHome != nullptr && *configHome != '\0'
                               ? std::string(configHome)
                               : TidyHome(std::getenv("HOME")) + "/.config";
  return base + '/' + std::string(application) + '/';
#endif
}

std::string SettingsFilePath(const std::string& programFolder, const std::string& userFolder) {
  const std::string beside = ResolveNoCase(programFolder, kSettingsFileName);
  if (userFolder.empty() || KindOf(beside) == FileKind::Regular || MayWrite(programFolder)) return beside;
  return ResolveNoCase(userFolder, kSettingsFileName);
}

bool MakeSettingsFolder(const std::string& settingsFile) {
  std::error_code error;
  const std::filesystem::path folder = FsPath(FolderOf(settingsFile));
  std::filesystem::create_directories(folder, error);
  return std::filesystem::is_directory(folder, error);
}

}  // namespace kxc2
