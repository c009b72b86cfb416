// Writes pictures of the editor for the documentation: the map view of a
// busy map at both zoom levels and the whole main window.
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "bench/editor/no_dialogs.h"
#include "core/road_mask.h"
#include "core/terrain.h"
#include "editor/Unit1.h"
#include "editor/image_control.h"

namespace {

// Every terrain in a band of its own, rivers and streams meeting the sea,
// roads in every direction, and one code only a foreign file brings.
void FillShowcaseMap(kxc2::MapGrid& grid) {
  using namespace kxc2;
  for (int column = 0; column < kGridColumns; ++column)
    for (int row = 0; row < kGridRows; ++row)
      grid.setTerrain(column, row, std::uint8_t((column / 2 + row / 3) % kTerrainCount));
  for (int column = 0; column < kGridColumns; ++column) {
    grid.setTerrain(column, 8, kOcean);
    grid.setTerrain(column, 9, kOcean);
  }
  for (int row = 0; row < 8; ++row) grid.setTerrain(4 + row % 2, row, kRiver);
  for (int row = 10; row < kGridRows; ++row) grid.setTerrain(9, row, kStream);
  for (int column = 1; column < 13; ++column) grid.setTerrain(column, 4, kImpassableRiver);
  for (int column = 0; column < 14; ++column) grid.setRoadMask(column, 6, kRoadNorthEast | kRoadSouthEast);
  for (int row = 0; row < 10; ++row) grid.setRoadMask(11, row, kRoadNorth | kRoadSouth);
  grid.setRoadMask(11, 6, 0xFF);
  grid.setRoadMask(2, 8, kRoadNorth);  // Ocean with a road
  grid.setTerrain(13, 1, 200);
}

bool Save(const QImage& image, const QString& path) {
  const bool saved = image.save(path, "PNG");
  std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString docs = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
  QDir().mkpath(docs);
  QTemporaryDir programFolder;
  kxc2::bench::NoDialogs dialogs;
  TForm1 form(dialogs, programFolder.path() + "/");
  form.show();
  form.New1->trigger();
  FillShowcaseMap(form.document().grid);
  form.TerrainList->setCurrentRow(kxc2::kForest);
  form.ZoomIn1->trigger();
  form.MapImageMouseUp(Qt::RightButton, {6 * 44 + 22, 6 * 50 + 25});
  form.MapImageMouseMove({3 * 44 + 22, 2 * 50 + 10});
  bool ok = Save(form.picture(), docs + "/view-zoomed-in.png");
  QApplication::processEvents();
  ok = Save(form.grab().toImage(), docs + "/main-window.png") && ok;
  form.ZoomOut1->trigger();
  ok = Save(form.picture(), docs + "/view-zoomed-out.png") && ok;
  return ok ? 0 : 1;
}
