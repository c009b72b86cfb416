// Keys as a real X server delivers them (xdotool through XTEST, under
// Xvfb): X11 gives Backspace, Delete, Escape, Return and Ctrl+letters text
// of their own, which synthetic key events never show.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QListWidget>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

#include "editor/Unit1.h"
#include "editor/image_control.h"
#include "editor/road_box.h"
#include "tests/editor/scripted_dialogs.h"
#include "tests/editor/view_test_support.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

// Counts the key releases the application receives, to know a key arrived.
class ReleaseCounter : public QObject {
 public:
  int releases = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyRelease && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) ++releases;
    return false;
  }
};

TEST(X11KeysTest, OnlyKeysThatTypeACharacterReachTheRoadKeys) {
  if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server (run under xvfb-run)";
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
  test::TempDir folder;
  test::ScriptedDialogs dialogs;
  TForm1 form(dialogs, QString::fromStdString(folder.folder()));
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  form.New1->trigger();
  QTest::mouseClick(form.MapImage, Qt::MiddleButton, {}, test::HexCentre(form.viewState(), 6, 6));
  ReleaseCounter counter;
  qApp->installEventFilter(&counter);

  const struct {
    const char* keys;  // as xdotool names them
    bool reaches;
  } cases[] = {
      {"BackSpace", false}, {"Delete", false}, {"Escape", false}, {"Return", false},
      {"ctrl+e", false},    {"alt+e", false},  {"e", true},       {"shift+e", true},
  };
  for (const auto& c : cases) {
    form.Road1->setChecked(false);
    form.Road1->setFocus();
    // The boxes now differ from the hex: any run of the road keys writes them.
    form.document().grid.setRoadMask(6, 6, 0x20);
    const int before = counter.releases;
    ASSERT_EQ(std::system((std::string("xdotool key --clearmodifiers ") + c.keys).c_str()), 0) << c.keys;
    QElapsedTimer waited;
    waited.start();
    while (counter.releases == before && waited.elapsed() < 3000) QTest::qWait(10);
    ASSERT_GT(counter.releases, before) << c.keys << " never arrived";
    EXPECT_EQ(form.document().grid.roadMask(6, 6) != 0x20, c.reaches) << c.keys;
    // Alt+E opens the Edit menu, which would take the next keys.
    if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
  }
  qApp->removeEventFilter(&counter);
}

}  // namespace
}  // namespace kxc2
