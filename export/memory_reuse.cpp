#include "export/memory_reuse.h"

#include <cstdlib>  // defines __GLIBC__ where it applies
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace kxc2 {

void KeepFreedMemoryForReuse() {
#ifdef __GLIBC__
  // Pictures come from the heap rather than from mappings of their own, and
  // the heap keeps up to this much free memory at its top.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

}  // namespace kxc2
