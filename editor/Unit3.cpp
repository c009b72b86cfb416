#include "editor/Unit3.h"

#include <QKeyEvent>
#include <QLabel>

#include <algorithm>

#include "editor/form_style.h"

namespace {

constexpr unsigned kGreen = 0x00008000;

QLabel* MakeWhiteLabel(QWidget* parent, const char* name, const QString& text, QRect bounds,
                       const QFont& font) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setGeometry(bounds);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::white);
  label->setPalette(palette);
  return label;
}

}  // namespace

TForm3::TForm3(QWidget* parent) : QWidget(parent) {
  setObjectName("Form3");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle("About KxC2Map");
  setFixedSize(275, 119);
  kxc2::SetBackground(*this, kxc2::BgrColor(kGreen));

  Label1 = MakeWhiteLabel(this, "Label1", "KxC2Map version 0.30", QRect(36, 20, 203, 24),
                          kxc2::SerifFont(21, true));
  // An auto-sized label: a face a few pixels wider than the one it was laid out
  // with must not clip the version.
  Label1->resize(std::max(Label1->width(), Label1->sizeHint().width()), Label1->height());
  Label2 = MakeWhiteLabel(this, "Label2", "By the KxC2 map kit's authors\nDecember 2026",
                          QRect(17, 61, 241, 47), kxc2::SerifFont(16, false));
  Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Label2->setWordWrap(true);
}

void TForm3::showAbout() {
  show();
  raise();
  activateWindow();
}

void TForm3::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  kxc2::CentreOnScreen(*this);
}

void TForm3::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape)
    close();
  else
    QWidget::keyPressEvent(event);
}
