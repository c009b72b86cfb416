#include "export/png_writer.h"

#include <stdexcept>
#include <vector>

#include "core/io_error.h"
#include "export/file_bytes.h"

// The writer is header-only: the same code builds for every target.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace kxc2 {

namespace {

// Three bytes per pixel, red first, as the writer takes them.
std::vector<unsigned char> RgbRows(const Image& image) {
  std::vector<unsigned char> rgb(static_cast<std::size_t>(image.width()) * image.height() * 3);
  unsigned char* out = rgb.data();
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const Rgb colour = image.pixel(x, y);
      *out++ = static_cast<unsigned char>(RedOf(colour));
      *out++ = static_cast<unsigned char>(GreenOf(colour));
      *out++ = static_cast<unsigned char>(BlueOf(colour));
    }
  return rgb;
}

void Append(void* context, void* data, int size) {
  auto* bytes = static_cast<std::vector<unsigned char>*>(context);
  const auto* begin = static_cast<const unsigned char*>(data);
  bytes->insert(bytes->end(), begin, begin + size);
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Image& image) {
  if (image.isNull()) throw std::invalid_argument("EncodePng needs an image");
  const std::vector<unsigned char> rgb = RgbRows(image);
  std::vector<unsigned char> png;
  if (stbi_write_png_to_func(Append, &png, image.width(), image.height(), 3, rgb.data(), image.width() * 3) == 0)
    throw std::runtime_error("the picture cannot be encoded as PNG");
  return {png.begin(), png.end()};
}

void SavePng(const std::string& path, const Image& image) {
  const std::vector<std::uint8_t> bytes = EncodePng(image);
  try {
    WriteExportFile(path, bytes);
  } catch (const IoError& error) {
    throw std::runtime_error("Cannot write file " + path + ": " + error.what());
  }
}

}  // namespace kxc2
