#pragma once

namespace freememory {

// Called once at start: large blocks (pictures, the drawn frame) are kept
// apart from the small ones, so that freeing them gives their memory back
// to the system at once.
void keepLargeBlocksApart();

// Hands memory the allocator holds free back to the system, so that what a
// window let go while hidden leaves the program's resident set.
void returnToSystem();

// The same, but only when the allocator has come to hold more than `bytes`
// free since the last time memory was handed back; cheap enough to ask
// whenever the program is about to wait.
bool returnToSystemIfGrown(long bytes);

} // namespace freememory
