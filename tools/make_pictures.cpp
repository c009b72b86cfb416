// Draws the four built-in pictures, their contact sheet and the editor's
// icons (icons/NxN.png beside the pictures).
// Usage: kxc2_make_pictures <resource folder> <contact sheet .png>
#include <QDir>
#include <QSaveFile>
#include <cstdio>

#include "tools/picture_set.h"

namespace {

bool SaveSafely(const QImage& image, const QString& path, const char* format) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || !image.save(&file, format) || !file.commit()) {
    std::fprintf(stderr, "Cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <resource folder> <contact sheet .png>\n", argv[0]);
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  const kxc2::pictures::PictureSet set = kxc2::pictures::DrawPictureSet();
  bool ok = SaveSafely(set.mapTiles, folder.filePath("MapTiles.bmp"), "BMP");
  ok = SaveSafely(set.mapTiles2, folder.filePath("MapTiles2.bmp"), "BMP") && ok;
  ok = SaveSafely(set.summerTiles, folder.filePath("SUMMERTILES.bmp"), "BMP") && ok;
  ok = SaveSafely(set.winterTiles, folder.filePath("WINTERTILES.bmp"), "BMP") && ok;
  ok = SaveSafely(kxc2::pictures::DrawContactSheet(set), QString::fromLocal8Bit(argv[2]), "PNG") && ok;
  ok = folder.mkpath("icons") && ok;
  for (const int size : kxc2::pictures::kAppIconSizes)
    ok = SaveSafely(kxc2::pictures::DrawAppIcon(size), folder.filePath(QStringLiteral("icons/%1x%1.png").arg(size)),
                    "PNG") && ok;
  return ok ? 0 : 1;
}
