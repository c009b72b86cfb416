#include <QAction>
#include <QCheckBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include "editing/menu_table.h"

#include "editor/Unit1.h"
#include "editor/keys_window.h"
#include "editor/Unit2.h"
#include "editor/Unit3.h"
#include "editor/disc_shape.h"
#include "editor/form_style.h"
#include "editor/image_control.h"
#include "editor/road_box.h"
#include "tests/editor/scripted_dialogs.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

class MainWindowLayoutTest : public ::testing::Test {
 protected:
  MainWindowLayoutTest() : form(dialogs, QString::fromStdString(folder.folder())) {}
  QWidget* child(const char* name) const {
    return form.centralWidget()->findChild<QWidget*>(QString::fromLatin1(name));
  }

  test::TempDir folder;
  test::ScriptedDialogs dialogs;
  TForm1 form;
};

TEST_F(MainWindowLayoutTest, EveryControlSitsWhereTheLayoutPutsIt) {
  struct Place {
    const char* name;
    QWidget* member;
    QRect bounds;
  };
  const Place places[] = {
      {"Header1", form.Header1, {7, 5, 616, 25}},         {"MapImage", form.MapImage, {7, 29, 616, 475}},
      {"HScrollBar", form.HScrollBar, {8, 505, 616, 16}}, {"VScrollBar", form.VScrollBar, {624, 31, 16, 475}},
      {"LMBCheck", form.LMBCheck, {667, 7, 111, 17}},     {"TerrainList", form.TerrainList, {661, 32, 111, 228}},
      {"Road1", form.Road1, {709, 281, 15, 17}},          {"Road2", form.Road2, {737, 298, 14, 17}},
      {"Road3", form.Road3, {737, 328, 15, 17}},          {"Road4", form.Road4, {709, 347, 15, 17}},
      {"Road5", form.Road5, {679, 328, 15, 17}},          {"Road6", form.Road6, {680, 298, 15, 17}},
      {"Shape1", form.Shape1, {683, 291, 65, 65}},
  };
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  for (const Place& place : places) {
    QWidget* widget = child(place.name);
    ASSERT_EQ(widget, place.member) << place.name;
    EXPECT_EQ(widget->geometry(), place.bounds) << place.name;
    if (auto* box = qobject_cast<QCheckBox*>(widget); box && box != form.LMBCheck)
      EXPECT_EQ(box->text(), QString::fromLatin1(place.name));
  }
  // The client area starts right below the menu bar.
  EXPECT_EQ(form.centralWidget()->geometry().top(), form.MainMenu1->geometry().bottom() + 1);
}

TEST_F(MainWindowLayoutTest, LabelsCarryTheirTextsAndPlaces) {
  struct Text {
    const char* name;
    const char* text;
    QPoint at;
  };
  const Text texts[] = {{"Label1", "Roads", {696, 316}}, {"Label2", "KxC2", {680, 443}},
                        {"Label3", "Mapmaker", {652, 475}}, {"Label4", "W", {669, 286}},
                        {"Label5", "E", {712, 264}},     {"Label6", "R", {756, 286}},
                        {"Label7", "S", {671, 344}},     {"Label8", "D", {712, 365}},
                        {"Label9", "F", {756, 344}}};
  for (const Text& t : texts) {
    auto* label = qobject_cast<QLabel*>(child(t.name));
    ASSERT_NE(label, nullptr) << t.name;
    EXPECT_EQ(label->text(), QString::fromLatin1(t.text)) << t.name;
    EXPECT_EQ(label->pos(), t.at) << t.name;
  }
  EXPECT_EQ(form.Label1->palette().color(QPalette::WindowText), QColor(Qt::white));
  for (QLabel* title : {form.Label2, form.Label3})
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  // Road boxes and the caption lie above the disc.
  const QObjectList& order = form.centralWidget()->children();
  EXPECT_LT(order.indexOf(form.Shape1), order.indexOf(form.Label1));
  EXPECT_LT(order.indexOf(form.Shape1), order.indexOf(form.Road1));
}

TEST_F(MainWindowLayoutTest, WindowCaptionFontAndOuterSize) {
  // "[*]" is Qt's place for the unsaved marker, shown only while the map has changes.
  EXPECT_EQ(form.windowTitle(), "Korvex Command 2 Mapmaker[*]");
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_EQ(form.frameGeometry().size(), QSize(795, 585));
  const QRect screen = form.screen()->availableGeometry();
  EXPECT_LE(std::abs(form.frameGeometry().center().x() - screen.center().x()), 1);
  EXPECT_LE(std::abs(form.frameGeometry().center().y() - screen.center().y()), 1);
}

// The main window asks for the same faces as the dialogs, so both look alike
// on any system.
TEST_F(MainWindowLayoutTest, FontsAreTheDialogsFaces) {
  const std::pair<const QWidget*, QFont> cases[] = {
      {&form, SansSerifFont(11)},          {form.Label1, SansSerifFont(11, true)},
      {form.Label4, SansSerifFont(11)},    {form.Label9, SansSerifFont(11)},
      {form.Label2, SerifFont(32, true)},  {form.Label3, SerifFont(27, true)}};
  for (const auto& [widget, font] : cases) {
    EXPECT_EQ(widget->font().families().join(", ").toStdString(),
              font.families().join(", ").toStdString())
        << widget->objectName().toStdString();
    EXPECT_EQ(widget->font().styleHint(), font.styleHint()) << widget->objectName().toStdString();
    EXPECT_EQ(widget->font().bold(), font.bold()) << widget->objectName().toStdString();
    EXPECT_EQ(widget->font().pixelSize(), font.pixelSize()) << widget->objectName().toStdString();
  }
  const TForm2 parameters;
  const TForm3 about;
  EXPECT_EQ(QFontInfo(form.font()).family(), QFontInfo(parameters.font()).family());
  EXPECT_EQ(QFontInfo(form.Label2->font()).family(), QFontInfo(about.Label1->font()).family());
}

TEST_F(MainWindowLayoutTest, HeaderHasThreeFixedCentredSections) {
  ASSERT_EQ(form.Header1->count(), 3);
  for (const auto& [section, size] : {std::pair{0, 201}, {1, 207}, {2, 207}}) {
    EXPECT_EQ(form.Header1->sectionSize(section), size);
    EXPECT_EQ(form.Header1->sectionResizeMode(section), QHeaderView::Fixed);
  }
  EXPECT_FALSE(form.Header1->sectionsClickable());
  EXPECT_EQ(form.Header1->defaultAlignment(), Qt::AlignCenter);
}

TEST_F(MainWindowLayoutTest, TerrainListHasSeventeenItemsOfThirteenPixels) {
  const char* const names[] = {"00 Clear",    "01 City",     "02 Airfield",         "03 Forest",
                               "04 Bocage",   "05 Hill",     "06 Mountain",         "07 Sand",
                               "08 Swamp",    "09 Ocean",    "10 River",            "11 Fortification",
                               "12 Port",     "13 Stream",   "14 Escarpment",       "15 Impassable River",
                               "16 Rough"};
  ASSERT_EQ(form.TerrainList->count(), 17);
  for (int i = 0; i < 17; ++i) {
    EXPECT_EQ(form.TerrainList->item(i)->text(), QString::fromLatin1(names[i]));
    EXPECT_EQ(form.TerrainList->visualItemRect(form.TerrainList->item(i)).height(), 13) << i;
  }
  EXPECT_TRUE(form.TerrainList->item(0)->isSelected());
  EXPECT_TRUE(form.LMBCheck->isChecked());
  EXPECT_EQ(form.LMBCheck->text(), "LMB sets terrain");
}

// The menu bar is the core's table, in order (the table's texts, keys and
// start states: tests/editing/menu_table_test).
TEST_F(MainWindowLayoutTest, MenusAreTheCoresMenuTableInOrder) {
  QList<QAction*> shown;  // each menu, then its items
  QList<QMenu*> menus;
  for (QAction* menu : form.MainMenu1->actions()) shown << menu << menu->menu()->actions(), menus << menu->menu();
  EXPECT_EQ(menus, (QList<QMenu*>{form.File1, form.Edit1, form.View1, form.Help1}));
  const auto entries = MainMenuEntries();
  ASSERT_EQ(shown.size(), qsizetype(entries.size()));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const MenuEntry& entry = entries[i];
    QAction* action = shown[i];
    EXPECT_EQ((action->menu() ? action->menu()->objectName() : action->objectName()).toStdString(), entry.name);
    EXPECT_EQ(action->isSeparator(), entry.kind == MenuEntryKind::Separator) << entry.name;
    if (entry.kind == MenuEntryKind::Separator) continue;
    EXPECT_EQ(action->text(), QString::fromLatin1(entry.caption));
    QList<QKeySequence> keys;
    for (const char* key : entry.keys)
      if (key != nullptr) keys << QKeySequence(QString::fromLatin1(key), QKeySequence::PortableText);
    EXPECT_EQ(action->shortcuts(), keys) << entry.name;
    EXPECT_EQ(action->isCheckable(), entry.checkable) << entry.name;
    EXPECT_EQ(action->isEnabled(), entry.enabled) << entry.name;
  }
  EXPECT_TRUE(form.ZoomIn1->isChecked() && !form.ZoomOut1->isChecked() && !form.MapBounds1->isChecked());
  EXPECT_EQ(form.MainMenu1->objectName(), "MainMenu1");
}

// Every shortcut of every action is listed, so a new one cannot be left out.
TEST_F(MainWindowLayoutTest, KeysAndMouseListsEveryShortcutAndEscapeClosesItAndAbout) {
  form.KeysAndMouse1->trigger();
  auto* keys = form.findChild<KeysWindow*>();
  ASSERT_NE(keys, nullptr);
  const QString list = keys->List->text();
  int listed = 0;
  for (const QAction* action : form.findChildren<QAction*>()) {
    if (action->shortcuts().isEmpty()) continue;
    ++listed;
    const QString keysText = QKeySequence::listToString(action->shortcuts(), QKeySequence::NativeText).replace("; ", ", ");
    EXPECT_TRUE(list.contains(keysText.toHtmlEscaped() + "</b></td><td>") &&
                list.contains(WithoutAccessKey(action->text()).toHtmlEscaped() + "</td>")) << keysText.toStdString();
  }
  EXPECT_EQ(listed, 10);
  for (const char* row : {"<b>F9</b></td><td>View &gt; Artwork Preview</td>", "<b>Ctrl++</b></td><td>Zoom in</td>",
                          "<b>Ctrl+-</b></td><td>Zoom out</td>", "<b>Wheel, arrow keys</b>", "<b>Esc</b>"})
    EXPECT_TRUE(list.contains(QString::fromLatin1(row))) << row;
  QTest::keyClick(keys, Qt::Key_Escape);
  EXPECT_FALSE(keys->isVisible());
  TForm3 about;
  about.showAbout();
  QTest::keyClick(&about, Qt::Key_Escape);
  EXPECT_FALSE(about.isVisible());
}

// The view's start figures: tests/editing (view_size_test, StartsWithNoMap);
// the bars' ranges at each size: window_size_test.
TEST_F(MainWindowLayoutTest, StartStateOfTheView) {
  EXPECT_TRUE(form.MapImage->isHidden());
  EXPECT_TRUE(form.MapImage->hasMouseTracking());
  for (QScrollBar* bar : {form.HScrollBar, form.VScrollBar}) {
    EXPECT_TRUE(bar->isEnabled());
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(bar->singleStep(), 1);
  }
}

TEST_F(MainWindowLayoutTest, RoadBoxesLeadTheTabOrderAndRoad1HasTheFocus) {
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  EXPECT_EQ(QApplication::focusWidget(), form.Road1);
  const QWidget* expected[] = {form.Road1, form.Road2, form.Road3, form.Road4, form.Road5,
                               form.LMBCheck, form.TerrainList};
  QWidget* widget = form.Road6;
  for (const QWidget* next : expected) {
    widget = widget->nextInFocusChain();
    while (widget->focusPolicy() == Qt::NoFocus) widget = widget->nextInFocusChain();
    EXPECT_EQ(widget, next) << widget->objectName().toStdString();
  }
}

}  // namespace
}  // namespace kxc2
