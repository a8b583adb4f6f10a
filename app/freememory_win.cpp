#include "app/freememory.h"

#include <malloc.h>

namespace freememory {

void keepLargeBlocksApart()
{
    // The CRT heap serves large blocks from the system directly already.
}

void returnToSystem()
{
    // The CRT heap gives unused pages back to the system.
    _heapmin();
}

bool returnToSystemIfGrown(long bytes)
{
    // No cheap measure of the free part here: nothing between releases.
    (void)bytes;
    return false;
}

} // namespace freememory
