// Any bytes into the unshp decoder: either a clear refusal or an image that
// encodes and decodes back to the same pixels.
#include <cstdint>
#include <cstdlib>

#include "export/shp_decoder.h"
#include "export/shp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kxc2::IndexedBitmap image;
  try {
    image = kxc2::DecodeShpFile({data, size});
  } catch (const kxc2::ShpFormatError&) {
    return 0;
  }
  if (image.pixels.size() != image.width * image.height) std::abort();
  const kxc2::IndexedBitmap again = kxc2::DecodeShpFile(kxc2::EncodeShpFile(image));
  if (again.pixels != image.pixels || again.width != image.width || again.height != image.height) std::abort();
  return 0;
}
