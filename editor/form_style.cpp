#include "editor/form_style.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

namespace kxc2 {
namespace {

QFont FontOf(const QStringList& families, QFont::StyleHint hint, int pixelSize) {
  QFont font;
  font.setFamilies(families);
  font.setStyleHint(hint);
  font.setPixelSize(pixelSize);
  return font;
}

}  // namespace

// After each original face comes its metric twin from fonts-liberation2, which
// the kit depends on: the layouts only fit faces of those widths.
QFont SansSerifFont(int pixelSize, bool bold) {
  QFont font = FontOf({"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Nimbus Sans",
                       "Arial", "DejaVu Sans"},
                      QFont::SansSerif, pixelSize);
  font.setBold(bold);
  return font;
}

QFont SerifFont(int pixelSize, bool bold) {
  QFont font = FontOf({"Times New Roman", "Liberation Serif", "Nimbus Roman", "Times", "DejaVu Serif"},
                      QFont::Serif, pixelSize);
  font.setBold(bold);
  return font;
}

QColor BgrColor(unsigned bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

void SetBackground(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, colour);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

void CentreOnScreen(QWidget& window) {
  QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect available = screen->availableGeometry();
  QRect frame = window.frameGeometry();
  frame.moveCenter(available.center());
  window.move(frame.topLeft());
}

}  // namespace kxc2
