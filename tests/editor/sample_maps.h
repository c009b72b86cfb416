#pragma once

#include <string>
#include <vector>

#include "core/map_grid.h"

namespace kxc2::test {

struct SampleMap {
  std::string fileName;
  MapDocument document;
};

// The two maps shipped in samples/, drawn by a fixed recipe so that they can
// be made again byte for byte.
std::vector<SampleMap> SampleMaps();

}  // namespace kxc2::test
