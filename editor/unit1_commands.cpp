// Window commands of the main window: start-up, New, Open, Save, Exit, About.
#include <QListWidget>
#include <QScrollBar>

#include "editor/Unit1.h"
#include "editor/image_control.h"
#include "editor/road_box.h"

void TForm1::FormCreate() {
  view_.OriginColumn = 0;
  view_.OriginRow = 0;
  HScrollBar->setRange(0, kxc2::kMaxOriginColumn);
  HScrollBar->setValue(0);
  HScrollBar->setPageStep(kxc2::kWindowColumns - 1);
  VScrollBar->setRange(0, kxc2::kMaxOriginRow);
  VScrollBar->setValue(0);
  VScrollBar->setPageStep(kxc2::kWindowRows - 1);
  view_.ZoomedIn = true;
  TerrainList->setCurrentRow(0);
  view_.SelectedColumn = -1;
  view_.SelectedRow = -1;
  view_.SelectionValid = false;
  Road1->setFocus();
}

void TForm1::New1Click() {
  document_.grid.reset();
  view_.SelectedColumn = 0;
  view_.SelectedRow = 0;
  WriteSelectedHexCaption();
  MapImage->show();
  RedrawView();
  ToggleFocusRect(0, 0);
  view_.SelectionValid = true;
  SaveAs1->setEnabled(true);
  PaintBMPs1->setEnabled(true);
  document_.header.columns = 44;
  document_.header.rows = 39;
  setHeaderSection(0, QString::asprintf("Untitled - %.2dW x %.2dH - No. ??",
                                        document_.header.columns, document_.header.rows));
}

void TForm1::Open1Click() {
  // Reads a .map file into the document.
}

void TForm1::SaveAs1Click() {
  // Asks for the map's parameters and a file name, then writes the .map file.
}

void TForm1::Exit1Click() {
  // Asks the window to close.
}

void TForm1::FormCloseQuery(bool& canClose) {
  // Asks whether to save before the window closes.
  (void)canClose;
}

void TForm1::About1Click() {
  // Shows the About window.
}
