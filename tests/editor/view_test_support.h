#pragma once

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

#include "core/map_grid.h"
#include "editing/view_state.h"
#include "tests/editing/view_pictures.h"

class TForm1;

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace kxc2::test {

class ScriptedDialogs;

// The pixel at the middle of hex (column, row) under the view's zoom and origin.
QPoint HexCentre(const ViewState& view, int column, int row);

// What the view should show without any frame, drawn by a view of its own.
QImage FramelessFullRedraw(const MapGrid& grid, ViewState view);
// picture with the frame of the view's selection inverted once.
QImage WithSelectionFrame(QImage picture, const ViewState& view);

// Equal pictures, or the number of differing pixels and the first of them.
::testing::AssertionResult SamePicture(const QImage& actual, const QImage& expected);

// A main window that has started and shows a fresh map.
std::unique_ptr<TForm1> StartedWindow(ScriptedDialogs& dialogs, const QString& folder);

}  // namespace kxc2::test
