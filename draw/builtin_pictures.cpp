#include "draw/builtin_pictures.h"

// The resource block lives in this static library; naming it here makes sure
// the linker keeps it in every program that asks for a picture.
static bool RegisterPictures() {
  Q_INIT_RESOURCE(kxc2_pictures);
  return true;
}

namespace kxc2 {
namespace {

QImage LoadPicture(const QString& path) {
  static const bool registered = RegisterPictures();
  (void)registered;
  return QImage(path, "BMP");
}

}  // namespace

QImage MapTilesPicture() { return LoadPicture(kMapTilesResource); }
QImage MapTiles2Picture() { return LoadPicture(kMapTiles2Resource); }
QImage SummerTilesPicture() { return LoadPicture(kSummerTilesResource); }
QImage WinterTilesPicture() { return LoadPicture(kWinterTilesResource); }

}  // namespace kxc2
