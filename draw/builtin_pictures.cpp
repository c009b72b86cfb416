#include "draw/builtin_pictures.h"

#include <QImage>

#include "draw/qt_bridge.h"

// The resource block lives in this static library; naming it here makes sure
// the linker keeps it in every program that asks for a picture.
static bool RegisterPictures() {
  Q_INIT_RESOURCE(kxc2_pictures);
  return true;
}

namespace kxc2 {
namespace {

Image LoadPicture(const QString& path) {
  static const bool registered = RegisterPictures();
  (void)registered;
  return FromQImage(QImage(path, "BMP"));
}

}  // namespace

Image MapTilesPicture() { return LoadPicture(kMapTilesResource); }
Image MapTiles2Picture() { return LoadPicture(kMapTiles2Resource); }
Image SummerTilesPicture() { return LoadPicture(kSummerTilesResource); }
Image WinterTilesPicture() { return LoadPicture(kWinterTilesResource); }

}  // namespace kxc2
