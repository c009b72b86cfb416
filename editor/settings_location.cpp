#include "editor/settings_location.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/game_paths.h"

namespace kxc2 {

namespace {

const char* const kSettingsFileName = "KXC2MAP.INI";

QString FileIn(const QString& folder) {
  return QString::fromStdString(ResolveNoCase(folder.toStdString(), kSettingsFileName));
}

}  // namespace

QString UserConfigFolder() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  return folder.isEmpty() ? folder : folder + QLatin1Char('/');
}

QString SettingsFilePath(const QString& programFolder, const QString& userFolder) {
  const QString beside = FileIn(programFolder);
  if (userFolder.isEmpty() || QFileInfo(beside).isFile() || QFileInfo(programFolder).isWritable()) return beside;
  return FileIn(userFolder);
}

bool MakeSettingsFolder(const QString& settingsFile) { return QDir().mkpath(QFileInfo(settingsFile).absolutePath()); }

}  // namespace kxc2
