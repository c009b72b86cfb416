#include "draw/image.h"

#include <cstring>

namespace kxc2 {

Image::Image(int width, int height, Format format) {
  if (width <= 0 || height <= 0 || format == Format_Invalid) return;
  format_ = format;
  width_ = width;
  height_ = height;
  const std::size_t bytes = static_cast<std::size_t>(width) * (format == Format_RGB32 ? 4 : 1);
  stride_ = (bytes + 3) & ~std::size_t{3};
  pixels_.assign(stride_ * static_cast<std::size_t>(height), 0);
}

void Image::fill(std::uint32_t value) {
  if (format_ == Format_Indexed8) {
    std::memset(pixels_.data(), static_cast<int>(value & 0xFF), pixels_.size());
    return;
  }
  for (int y = 0; y < height_; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(scanLine(y));
    std::fill(row, row + width_, 0xFF000000u | value);
  }
}

Rgb Image::pixel(int x, int y) const {
  if (format_ == Format_RGB32) return 0xFF000000u | reinterpret_cast<const std::uint32_t*>(constScanLine(y))[x];
  const std::size_t index = constScanLine(y)[x];
  return index < colours_.size() ? colours_[index] : 0;
}

void Image::setPixel(int x, int y, std::uint32_t value) {
  if (format_ == Format_RGB32)
    reinterpret_cast<std::uint32_t*>(scanLine(y))[x] = 0xFF000000u | value;
  else
    scanLine(y)[x] = static_cast<std::uint8_t>(value);
}

Image Image::copy(const Rect& rect) const {
  const Rect inside = rect.intersected(this->rect());
  Image part(rect.size(), format_);
  part.colours_ = colours_;
  if (inside.isEmpty() || part.isNull()) return part;
  const std::size_t pixelBytes = format_ == Format_RGB32 ? 4 : 1;
  for (int y = 0; y < inside.height(); ++y)
    std::memcpy(part.scanLine(inside.top() - rect.top() + y) + (inside.left() - rect.left()) * pixelBytes,
                constScanLine(inside.top() + y) + inside.left() * pixelBytes, inside.width() * pixelBytes);
  return part;
}

Image Image::convertToFormat(Format format) const {
  if (format == format_ || isNull() || format != Format_RGB32) return *this;
  Image rgb(size(), Format_RGB32);
  for (int y = 0; y < height_; ++y) {
    const std::uint8_t* in = constScanLine(y);
    auto* out = reinterpret_cast<std::uint32_t*>(rgb.scanLine(y));
    for (int x = 0; x < width_; ++x) out[x] = 0xFF000000u | (in[x] < colours_.size() ? colours_[in[x]] : 0);
  }
  return rgb;
}

bool operator==(const Image& a, const Image& b) {
  if (a.format_ != b.format_ || a.width_ != b.width_ || a.height_ != b.height_) return false;
  if (a.format_ == Image::Format_Indexed8 && a.colours_ != b.colours_) return false;
  const std::size_t rowBytes = static_cast<std::size_t>(a.width_) * (a.format_ == Image::Format_RGB32 ? 4 : 1);
  for (int y = 0; y < a.height_; ++y)
    if (std::memcmp(a.constScanLine(y), b.constScanLine(y), rowBytes) != 0) return false;
  return true;
}

}  // namespace kxc2
