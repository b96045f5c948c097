#include "heaptuning.h"

#include <malloc.h>

namespace corvan::cli {

void ReuseLargeBlocks() {
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
}

}  // namespace corvan::cli
