#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace kxc2 {

// "MS Sans Serif", or the nearest sans-serif face this system has.
QFont SansSerifFont(int pixelSize, bool bold = false);
// "Times New Roman", or the nearest serif face this system has.
QFont SerifFont(int pixelSize, bool bold);

// A colour given as $00BBGGRR.
QColor BgrColor(unsigned bgr);
// Fills the widget's background with colour.
void SetBackground(QWidget& widget, const QColor& colour);
// Centres the window on the screen it is on (frame included).
void CentreOnScreen(QWidget& window);

}  // namespace kxc2
