#include "export/png_writer.h"

#include <QSaveFile>
#include <QString>

#include "draw/qt_bridge.h"
#include <stdexcept>

namespace kxc2 {

void SavePng(const std::string& path, const Image& image) {
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) throw std::runtime_error("Cannot create file " + path);
  if (!QImageOver(image).save(&file, "PNG") || !file.commit())
    throw std::runtime_error("Cannot write file " + path + ": " + file.errorString().toStdString());
}

}  // namespace kxc2
