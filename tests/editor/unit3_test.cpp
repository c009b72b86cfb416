#include "editor/Unit3.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

int VisibleAboutWindows() {
  int count = 0;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->objectName() == "Form3" && widget->isVisible()) ++count;
  return count;
}

TEST(TForm3Test, WindowLooks) {
  TForm3 form;
  EXPECT_EQ(form.objectName(), "Form3");
  EXPECT_EQ(form.windowTitle(), "About KxC2Map");
  EXPECT_EQ(form.size(), QSize(275, 119));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_EQ(form.palette().color(QPalette::Window), QColor(0, 128, 0));
  EXPECT_TRUE(form.autoFillBackground());
  const Qt::WindowFlags flags = form.windowFlags();
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(form.windowModality(), Qt::NonModal);
  EXPECT_FALSE(form.isVisible());
}

TEST(TForm3Test, VersionLabel) {
  TForm3 form;
  EXPECT_EQ(form.Label1->objectName(), "Label1");
  EXPECT_EQ(form.Label1->text(), "KxC2Map version 0.30");
  EXPECT_EQ(form.Label1->pos(), QPoint(36, 20));
  EXPECT_GE(form.Label1->width(), 203);
  EXPECT_EQ(form.Label1->height(), 24);
  EXPECT_LE(form.Label1->geometry().right(), form.width());
  EXPECT_TRUE(form.Label1->font().bold());
  EXPECT_EQ(form.Label1->font().pixelSize(), 21);
  EXPECT_EQ(form.Label1->palette().color(QPalette::WindowText), QColor(Qt::white));
  EXPECT_LE(QFontMetrics(form.Label1->font()).horizontalAdvance(form.Label1->text()), form.Label1->width());
}

TEST(TForm3Test, CreditIsTwoCentredLinesThatFit) {
  TForm3 form;
  EXPECT_EQ(form.Label2->objectName(), "Label2");
  EXPECT_EQ(form.Label2->geometry(), QRect(17, 61, 241, 47));
  EXPECT_FALSE(form.Label2->font().bold());
  EXPECT_EQ(form.Label2->font().pixelSize(), 16);
  EXPECT_EQ(form.Label2->palette().color(QPalette::WindowText), QColor(Qt::white));
  EXPECT_TRUE(form.Label2->alignment() & Qt::AlignHCenter);
  EXPECT_TRUE(form.Label2->wordWrap());
  const QStringList lines = form.Label2->text().split('\n');
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].contains("KxC2 map kit")) << lines[0].toStdString();
  EXPECT_TRUE(lines[1].contains("2026")) << lines[1].toStdString();
  const QFontMetrics metrics(form.Label2->font());
  for (const QString& line : lines) EXPECT_LE(metrics.horizontalAdvance(line), 241) << line.toStdString();
  EXPECT_LE(2 * metrics.lineSpacing(), 47);
}

TEST(TForm3Test, ShownTwiceIsOneWindow) {
  TForm3 form;
  form.showAbout();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  form.showAbout();
  EXPECT_EQ(VisibleAboutWindows(), 1);
  EXPECT_TRUE(form.isVisible());
  form.close();
  EXPECT_FALSE(form.isVisible());
  form.showAbout();
  EXPECT_EQ(VisibleAboutWindows(), 1);
}

TEST(TForm3Test, DoesNotBlockItsParent) {
  QWidget owner;
  owner.show();
  auto* form = new TForm3(&owner);
  form->showAbout();
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(form->isWindow());
  EXPECT_TRUE(owner.isEnabled());
}

}  // namespace
