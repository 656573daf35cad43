#pragma once
// How a program that does one job and ends keeps the memory it frees.

namespace kx::platform {

// Keeps freed memory in the program for its next use instead of handing it back to the system
// at once: a print allocates and frees the same large buffers page after page, and memory
// handed back is faulted in anew each time. Only for programs that end after their job.
void keepFreedMemoryForReuse();

}  // namespace kx::platform
