// KxC2Map: the map editor's program start.
#include <QApplication>
#include <QTimer>

#include "editor/Unit1.h"
#include "editor/qt_user_dialogs.h"
#include "export/memory_reuse.h"

int main(int argc, char** argv) {
  kxc2::KeepFreedMemoryForReuse();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(kxc2::kApplicationTitle));

  kxc2::QtUserDialogs dialogs;
  // Creating the main window runs FormCreate: settings, game folder, view state.
  TForm1 form1(dialogs, QCoreApplication::applicationDirPath() + QLatin1Char('/'));

  form1.show();
  // A map named on the command line (or by the desktop) opens once the
  // window is up, as Open would open it: a recovered map is asked about first.
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() > 1) {
    const QString fileName = arguments.at(1);
    QTimer::singleShot(0, &form1, [&form1, fileName] { form1.openNamedMap(fileName); });
  }
  return application.exec();
}
