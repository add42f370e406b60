// Copying inside the kernel: a whole file onto a file, and nothing at all where the kernel
// cannot copy, so the copier knows to copy the ordinary way.
#include "platform/kernel_copy.h"
#include "scoped_environment.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using platform::KernelCopy;

TEST(KernelCopy, CopiesAWholeFileAndCopiesNothingWhereItCannot) {
  testenv::TempFolder folder;
  const std::string from = folder / "from.dbx", to = folder / "to.dbx";
  std::string contents;
  for (int i = 0; contents.size() < 3'000'000; ++i)
    contents += std::to_string(i) + ' ';
  testenv::WriteFile(from, contents);

  int source = ::open(from.c_str(), O_RDONLY);
  int target = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  ASSERT_GE(source, 0);
  ASSERT_GE(target, 0);
  EXPECT_EQ(platform::CopyInKernel(source, target), KernelCopy::Copied);
  ::close(target);
  EXPECT_EQ(testenv::ReadFile(to), contents);

  // A pipe is no file the kernel copies onto.
  int pipe_ends[2];
  ASSERT_EQ(::pipe(pipe_ends), 0);
  ::lseek(source, 0, SEEK_SET);
  EXPECT_EQ(platform::CopyInKernel(source, pipe_ends[1]), KernelCopy::Unsupported);
  EXPECT_EQ(::lseek(source, 0, SEEK_CUR), 0); // nothing was taken from the source
  ::close(pipe_ends[0]);
  ::close(pipe_ends[1]);
  ::close(source);
}

// A store on the disk and the temporary folder on tmpfs: the kernel still copies between them.
TEST(KernelCopy, CopiesBetweenFileSystems) {
  testenv::TempFolder folder;
  struct stat shm {
  }, temp{};
  if (::stat("/dev/shm", &shm) != 0 || ::stat(folder.path().c_str(), &temp) != 0 ||
      shm.st_dev == temp.st_dev || ::access("/dev/shm", W_OK) != 0)
    GTEST_SKIP() << "no writable /dev/shm on a file system of its own";
  const std::string from = folder / "from.dbx";
  const std::string to = "/dev/shm/salvora-kernel-copy-" + std::to_string(::getpid());
  std::string contents;
  for (int i = 0; contents.size() < 1'000'000; ++i)
    contents += std::to_string(i * 7) + ' ';
  testenv::WriteFile(from, contents);
  const int source = ::open(from.c_str(), O_RDONLY);
  const int target = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  ASSERT_GE(source, 0);
  ASSERT_GE(target, 0);
  EXPECT_EQ(platform::CopyInKernel(source, target), KernelCopy::Copied);
  ::close(target);
  ::close(source);
  EXPECT_TRUE(testenv::ReadFile(to) == contents); // a megabyte: not printed when it differs
  ::unlink(to.c_str());
}

} // namespace
