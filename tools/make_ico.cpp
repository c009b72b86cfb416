// make_ico OUT.ico IN.png...: a Windows icon holding the PNG images as they
// are, which Windows reads since Vista. Its output is committed under
// resources/icons/, so the Windows build needs no host tool.
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

void Put(Bytes& out, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

std::uint32_t BigEndian(const Bytes& bytes, std::size_t at) {
  return std::uint32_t(bytes[at]) << 24 | std::uint32_t(bytes[at + 1]) << 16 | std::uint32_t(bytes[at + 2]) << 8 |
         bytes[at + 3];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: make_ico OUT.ico IN.png...\n";
    return 2;
  }
  std::vector<Bytes> images;
  for (int i = 2; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    Bytes png{std::istreambuf_iterator<char>(in), {}};
    // The signature, then IHDR with the width and height.
    if (png.size() < 24 || png[1] != 'P' || png[12] != 'I') {
      std::cerr << argv[i] << ": not a PNG file\n";
      return 1;
    }
    images.push_back(std::move(png));
  }
  Bytes ico;
  Put(ico, 0, 2);
  Put(ico, 1, 2);  // an icon
  Put(ico, std::uint32_t(images.size()), 2);
  std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
  for (const Bytes& png : images) {
    // 256 is written as 0.
    Put(ico, BigEndian(png, 16) & 0xFF, 1);
    Put(ico, BigEndian(png, 20) & 0xFF, 1);
    Put(ico, 0, 2);  // no palette, reserved
    Put(ico, 1, 2);  // planes
    Put(ico, 32, 2);
    Put(ico, std::uint32_t(png.size()), 4);
    Put(ico, offset, 4);
    offset += std::uint32_t(png.size());
  }
  for (const Bytes& png : images) ico.insert(ico.end(), png.begin(), png.end());
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(ico.data()), std::streamsize(ico.size()));
  return out ? 0 : 1;
}
