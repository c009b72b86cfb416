#pragma once

#include <QImage>

namespace kxc2::pictures {

// The 12 x 12 view atlas, drawn pixel by pixel: at that size every pixel of
// a motif has to be placed by hand to stay readable. RGB32.
QImage DrawSmallAtlas();

}  // namespace kxc2::pictures
