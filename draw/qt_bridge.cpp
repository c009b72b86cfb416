#include "draw/qt_bridge.h"

#include <QList>
#include <cstring>

namespace kxc2 {

namespace {

QImage::Format QtFormat(const Image& image) {
  return image.format() == Image::Format_Indexed8 ? QImage::Format_Indexed8 : QImage::Format_RGB32;
}

}  // namespace

Image FromQImage(const QImage& image) {
  if (image.isNull()) return {};
  const bool indexed = image.format() == QImage::Format_Indexed8;
  const QImage source = indexed ? image : image.convertToFormat(QImage::Format_RGB32);
  Image copy(source.width(), source.height(), indexed ? Image::Format_Indexed8 : Image::Format_RGB32);
  const QList<QRgb> table = source.colorTable();
  copy.setColorTable(std::vector<Rgb>(table.begin(), table.end()));
  const std::size_t rowBytes = static_cast<std::size_t>(source.width()) * (indexed ? 1 : 4);
  for (int y = 0; y < source.height(); ++y) std::memcpy(copy.scanLine(y), source.constScanLine(y), rowBytes);
  return copy;
}

QImage QImageOver(Image& image) {
  if (image.isNull()) return {};
  QImage view(image.bits(), image.width(), image.height(), static_cast<qsizetype>(image.bytesPerLine()),
              QtFormat(image));
  if (image.format() == Image::Format_Indexed8)
    view.setColorTable(QList<QRgb>(image.colorTable().begin(), image.colorTable().end()));
  return view;
}

const QImage QImageOver(const Image& image) {
  if (image.isNull()) return {};
  QImage view(image.constBits(), image.width(), image.height(), static_cast<qsizetype>(image.bytesPerLine()),
              QtFormat(image));
  if (image.format() == Image::Format_Indexed8)
    view.setColorTable(QList<QRgb>(image.colorTable().begin(), image.colorTable().end()));
  return view;
}

QImage ToQImage(const Image& image) { return QImageOver(image).copy(); }

}  // namespace kxc2
