// Copying a file's contents inside the kernel, without passing them through the program: a
// reflink where the file system shares blocks, else the kernel's own copy.
#pragma once

namespace platform {

enum class KernelCopy {
  Copied,      // the whole contents
  Unsupported, // nothing copied: the caller copies another way
  Failed,      // a read or write failed part way
};

// Copies from the current offset of `from` to its end onto `to`, both plain files.
KernelCopy CopyInKernel(int from, int to);

} // namespace platform
