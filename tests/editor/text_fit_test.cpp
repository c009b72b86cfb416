// Every text the three windows show fits the room their layout gives it, in
// the faces the set-up scripts install. A wider fallback face shows up here
// as a clipped or overflowing text.
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <gtest/gtest.h>

#include "core/terrain.h"
#include "editor/Unit1.h"
#include "editor/Unit2.h"
#include "editor/Unit3.h"
#include "editor/form_style.h"
#include "tests/editor/scripted_dialogs.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

enum class Fit {
  Line,       // one line from the control's left edge up to the x limit
  Wrapped,    // word-wrapped within the control's width and height
  Indicator,  // a check box or radio button with its box
  Button,     // a push button's caption inside its margins
  GroupTitle  // a group box's title
};

struct TextCase {
  const char* window;
  const char* control;
  Fit fit;
  int limit;  // Line: the x the text must not pass
};

class TextFitTest : public ::testing::Test {
 protected:
  TextFitTest() : form1(dialogs, QString::fromStdString(folder.folder())) {}

  QWidget* window(const std::string& name) {
    if (name == "Form1") return form1.centralWidget();
    if (name == "Form2") return &form2;
    return &form3;
  }

  test::TempDir folder;
  test::ScriptedDialogs dialogs;
  TForm1 form1;
  TForm2 form2;
  TForm3 form3;
};

int TextWidth(const QWidget& widget, const QString& text) {
  return QFontMetrics(widget.font()).horizontalAdvance(text);
}

TEST_F(TextFitTest, EveryCaptionFitsItsControl) {
  // The main window, and its client area, at its first size are 787 wide.
  const TextCase cases[] = {
      {"Form1", "LMBCheck", Fit::Indicator, 0},
      {"Form1", "Label1", Fit::Line, 737},  // "Roads" on the disc, left of Road2 and Road3
      {"Form1", "Label4", Fit::Line, 680},  // W, left of Road6
      {"Form1", "Label5", Fit::Line, 737},
      {"Form1", "Label6", Fit::Line, 787},
      {"Form1", "Label7", Fit::Line, 679},  // S, left of Road5
      {"Form1", "Label8", Fit::Line, 737},
      {"Form1", "Label9", Fit::Line, 787},
      {"Form1", "Label2", Fit::Line, 787},  // "KxC2"
      {"Form1", "Label3", Fit::Line, 787},  // "Mapmaker"
      {"Form2", "Label5", Fit::Wrapped, 0},
      {"Form2", "Label1", Fit::Line, 167},  // left of the spin edits
      {"Form2", "Label2", Fit::Line, 167},
      {"Form2", "Label4", Fit::Wrapped, 0},
      {"Form2", "Label3", Fit::Line, 167},
      {"Form2", "Terrtype", Fit::GroupTitle, 0},
      {"Form2", "SummerTerrain", Fit::Indicator, 0},
      {"Form2", "WinterTerrain", Fit::Indicator, 0},
      {"Form2", "BitBtn1", Fit::Button, 0},
      {"Form2", "BitBtn2", Fit::Button, 0},
      {"Form3", "Label1", Fit::Line, 275},
      {"Form3", "Label2", Fit::Wrapped, 0},
  };
  ASSERT_EQ(form1.width(), 787);
  for (const TextCase& c : cases) {
    SCOPED_TRACE(std::string(c.window) + "." + c.control);
    QWidget* widget = window(c.window)->findChild<QWidget*>(QString::fromLatin1(c.control));
    ASSERT_NE(widget, nullptr);
    switch (c.fit) {
      case Fit::Line: {
        const auto* label = qobject_cast<QLabel*>(widget);
        ASSERT_NE(label, nullptr);
        EXPECT_LE(label->x() + TextWidth(*label, label->text()), c.limit) << label->text().toStdString();
        EXPECT_LE(TextWidth(*label, label->text()), label->width());
        break;
      }
      case Fit::Wrapped: {
        const auto* label = qobject_cast<QLabel*>(widget);
        ASSERT_NE(label, nullptr);
        EXPECT_LE(label->heightForWidth(label->width()), label->height());
        // A word wider than the label would run past its edge whatever the wrapping.
        for (const QString& word : label->text().split(QRegularExpression("\\s+")))
          EXPECT_LE(TextWidth(*label, word), label->width()) << word.toStdString();
        break;
      }
      case Fit::Indicator:
        EXPECT_LE(widget->sizeHint().width(), widget->width());
        EXPECT_LE(QFontMetrics(widget->font()).height(), widget->height());
        break;
      case Fit::Button: {
        const auto* button = qobject_cast<QPushButton*>(widget);
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        EXPECT_LE(TextWidth(*button, button->text()) + 2 * margin, button->width());
        break;
      }
      case Fit::GroupTitle: {
        const auto* box = qobject_cast<QGroupBox*>(widget);
        ASSERT_NE(box, nullptr);
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.textAlignment = box->alignment();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        EXPECT_GE(title.width(), TextWidth(*box, box->title()));
        EXPECT_LE(title.right(), box->width() - 1);
        break;
      }
    }
  }
}

TEST_F(TextFitTest, EveryTerrainItemFitsTheList) {
  const QListWidget& list = *form1.TerrainList;
  // The item's text keeps the delegate's margin on both sides.
  const int margin = list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
  ASSERT_EQ(list.count(), kTerrainCount);
  // All items show without a scroll bar, so the text has the list's inner width.
  const int inner = list.width() - 2 * list.frameWidth();
  ASSERT_LE(list.count() * list.item(0)->sizeHint().height(), list.height() - 2 * list.frameWidth());
  for (int row = 0; row < list.count(); ++row) {
    const QString text = list.item(row)->text();
    EXPECT_LE(TextWidth(list, text) + 2 * margin, inner) << text.toStdString();
    EXPECT_LE(QFontMetrics(list.font()).height(), list.item(row)->sizeHint().height() + 2) << text.toStdString();
  }
}

TEST_F(TextFitTest, EveryHeaderSectionFitsItsLongestCaption) {
  // The longest name among every terrain code a map can hold.
  QString longestName;
  for (int code = 0; code < 256; ++code) {
    const QString name = QString::fromStdString(DisplayNameOrUnknown(code));
    if (TextWidth(*form1.Header1, name) > TextWidth(*form1.Header1, longestName)) longestName = name;
  }
  ASSERT_EQ(longestName, "Impassable River");
  const struct {
    int section;
    QString caption;
  } cases[] = {
      {0, "Map Name"},
      {0, "coast44x39 - 44W x 39H - No. 99"},
      {1, "Selected Hex"},
      {1, QString("Selected: ( 44, 39 ) %1 ").arg(longestName)},
      {2, "Hex Under Cursor"},
      {2, QString("Cursor at: ( 44, 39 ) %1 ").arg(longestName)},
  };
  const QHeaderView& header = *form1.Header1;
  const int margin = header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
  for (const auto& c : cases) {
    EXPECT_LE(TextWidth(header, c.caption) + 2 * margin, header.sectionSize(c.section))
        << c.caption.toStdString();
  }
}

// The faces the layouts were made for, or their metric twins from the
// packages the scripts install; never a wider stand-in.
TEST(WindowFontsTest, AreTheLayoutFacesOrTheirMetricTwins) {
  const struct {
    QFont font;
    QStringList faces;
  } cases[] = {
      {SansSerifFont(11), {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans"}},
      {SansSerifFont(11, true), {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans"}},
      {SerifFont(16, false), {"Times New Roman", "Liberation Serif"}},
      {SerifFont(21, true), {"Times New Roman", "Liberation Serif"}},
  };
  for (const auto& c : cases) {
    const QString family = QFontInfo(c.font).family();
    EXPECT_TRUE(c.faces.contains(family)) << family.toStdString();
  }
}

}  // namespace
}  // namespace kxc2
