#pragma once

namespace paysum {

// Keeps the large blocks that windows free (backing stores, grabbed pictures, grid sections) in
// the heap for the next window to reuse, instead of handing them back to the system, which would
// have the kernel fault in fresh zeroed pages on that window's first paint. Call once, first thing
// in main().
void KeepFreedMemoryForReuse();

}  // namespace paysum
