#include "kernel_copy.h"

#include <cerrno>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace platform {
namespace {

// Large steps, so a copy of gigabytes takes few calls.
constexpr std::size_t kStep = std::size_t{1} << 30;

// Errors by which the kernel says it cannot copy between these files at all.
bool CannotCopyHere(int error) {
  return error == EXDEV || error == ENOSYS || error == EOPNOTSUPP || error == EINVAL ||
         error == EBADF || error == EPERM;
}

} // namespace

KernelCopy CopyInKernel(int from, int to) {
  // A reflink shares the blocks: the copy takes no time and no room until either side changes.
  if (::ioctl(to, FICLONE, from) == 0)
    return KernelCopy::Copied;
  bool copied_any = false;
  for (;;) {
    const ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, kStep, 0);
    if (copied == 0)
      return KernelCopy::Copied;
    if (copied > 0) {
      copied_any = true;
      continue;
    }
    if (errno == EINTR)
      continue;
    return !copied_any && CannotCopyHere(errno) ? KernelCopy::Unsupported : KernelCopy::Failed;
  }
}

} // namespace platform
