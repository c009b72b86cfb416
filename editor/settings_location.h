#pragma once

#include <QString>

namespace kxc2 {

// The per-user configuration folder, QStandardPaths' AppConfigLocation (it
// follows XDG_CONFIG_HOME), with a trailing separator. It need not exist.
QString UserConfigFolder();

// Where KXC2MAP.INI is read and written. Beside the program when the file is
// there or the program's folder can be written (a portable copy, the build
// folder); otherwise, as under /usr/bin, in userFolder. Both folders end with
// a separator; an existing file is found whatever its case. Without a
// userFolder, beside the program.
QString SettingsFilePath(const QString& programFolder, const QString& userFolder);

// Makes the folder that will hold the settings file; false when it cannot.
bool MakeSettingsFolder(const QString& settingsFile);

}  // namespace kxc2
