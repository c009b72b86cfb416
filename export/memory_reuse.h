#pragma once

namespace kxc2 {

// Painting and converting make and drop pictures of about a megabyte one
// after another. By default glibc gives such memory back to the system when
// it is freed and takes it back page fault by page fault, which on a
// virtual machine cost more than the work itself. Call once at the start of
// a program.
void KeepFreedMemoryForReuse();

}  // namespace kxc2
