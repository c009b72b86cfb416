#pragma once

#include <string>
#include <string_view>

namespace kxc2 {

// The per-user configuration folder of the named program, with a trailing
// separator; it need not exist. Elsewhere than Windows what the editor's
// toolkit has always given: $XDG_CONFIG_HOME/NAME/, or ~/.config/NAME/.
// On Windows %APPDATA%\NAME\. Empty when there is none.
std::string UserConfigFolder(std::string_view application);
// The user's folder for settings or for local data, without a trailing
// separator, where the toolkit's standard paths put them.
enum class UserFolderKind { Config, Data };
std::string UserBaseFolder(UserFolderKind kind);

// Where KXC2MAP.INI is read and written. Beside the program when the file is
// there or the program's folder can be written (a portable copy, the build
// folder); otherwise, as under /usr/bin, in userFolder. Both folders end with
// a separator; an existing file is found whatever its case. Without a
// userFolder, beside the program.
std::string SettingsFilePath(const std::string& programFolder, const std::string& userFolder);

// Makes the folder that will hold the settings file; false when it cannot.
bool MakeSettingsFolder(const std::string& settingsFile);

}  // namespace kxc2
