#pragma once
// Memory a pass on another thread used and freed stays with that thread's
// pool of the allocator, counted against the program, unless given back.

namespace tb {

// Gives the memory freed so far back to the system; for the end of a large
// pass in the background.
void returnFreedMemory();

}  // namespace tb
