#include "kernel_copy.h"

#include <cerrno>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
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

template <typename Step> KernelCopy CopyInSteps(Step step) {
  bool copied_any = false;
  for (;;) {
    const ssize_t copied = step();
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

bool IsPlainFile(int fd) {
  struct stat info {};
  return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

KernelCopy CopyInKernel(int from, int to) {
  // A reflink shares the blocks: the copy takes no time and no room until either side changes.
  if (::ioctl(to, FICLONE, from) == 0)
    return KernelCopy::Copied;
  const KernelCopy result =
      CopyInSteps([&] { return ::copy_file_range(from, nullptr, to, nullptr, kStep, 0); });
  if (result != KernelCopy::Unsupported || !IsPlainFile(from) || !IsPlainFile(to))
    return result;
  // copy_file_range refuses files on different file systems (a store on the disk, the
  // temporary folder on tmpfs); sendfile still copies them inside the kernel.
  return CopyInSteps([&] { return ::sendfile(to, from, nullptr, kStep); });
}

} // namespace platform
