#include "app/freememory.h"

#include <cstdlib>   // defines __GLIBC__ with glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace freememory {

void keepLargeBlocksApart()
{
#if defined(__GLIBC__)
    // glibc raises its threshold for mapping a block on its own each time
    // a large one is freed, after which pictures land inside the heap and
    // stay with the process when freed. A fixed threshold keeps every block
    // of 256 KiB and more in a mapping of its own, returned when freed.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024);
#endif
}

namespace {
long freeAfterLastReturn = 0;
}

void returnToSystem()
{
#if defined(__GLIBC__)
    // Free pages in the middle of the heap stay with the process until
    // trimmed: glibc gives back only the heap's top on its own.
    malloc_trim(0);
    freeAfterLastReturn = long(mallinfo2().fordblks);
#endif
}

bool returnToSystemIfGrown(long bytes)
{
#if defined(__GLIBC__)
    if (long(mallinfo2().fordblks) - freeAfterLastReturn <= bytes)
        return false;
    returnToSystem();
    return true;
#else
    (void)bytes;
    return false;
#endif
}

} // namespace freememory
