// Game art commands of the main window: Paint .BMPs and Draw .SHPs.
#include "editor/Unit1.h"

void TForm1::PaintBMPs1Click() {
  // Paints the map's bitmaps into UserBMP.
}

void TForm1::WriteSHPs1Click() {
  // Converts chosen bitmaps into .shp files in UserMap.
}
