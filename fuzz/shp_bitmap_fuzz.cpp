// Any bytes as a bitmap to convert: either one of the loader's messages or
// an image whose ShpFile decodes back to the same pixels.
#include <cstdint>
#include <cstdlib>

#include "export/shp_decoder.h"
#include "export/shp_encoder.h"
#include "export/shp_file.h"
#include "export/shp_source_bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kxc2::IndexedBitmap bitmap;
  try {
    bitmap = kxc2::DecodeBitmapForShp({data, size}, "fuzz.bmp");
  } catch (const kxc2::BitmapLoadError&) {
    return 0;
  }
  if (bitmap.width < 1 || bitmap.height < 1 || bitmap.pixels.size() != bitmap.width * bitmap.height) std::abort();
  const std::vector<std::uint8_t> file = kxc2::EncodeShpFile(bitmap);
  if (file.size() > 40 + bitmap.height * kxc2::ShpRowBound(bitmap.width) + 1024) std::abort();
  const kxc2::IndexedBitmap back = kxc2::DecodeShpFile(file);
  if (back.pixels != bitmap.pixels) std::abort();
  return 0;
}
