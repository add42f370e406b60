#include "platform/shell.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {
namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

// argv for exec, prepared before fork: a child may only make async-signal-safe calls.
struct ArgumentVector {
  ArgumentVector(const std::string& path, const std::vector<std::string>& arguments)
      : storage(arguments) {
    storage.insert(storage.begin(), path);
    for (std::string& s : storage)
      pointers.push_back(s.data());
    pointers.push_back(nullptr);
  }
  std::vector<std::string> storage;
  std::vector<char*> pointers;
};

// Writes errno to `fd` when exec fails; the pipe closes on a successful exec.
[[noreturn]] void ExecOrReport(const ArgumentVector& argv, int fd) {
  ::execv(argv.pointers[0], argv.pointers.data());
  const int error = errno;
  [[maybe_unused]] const ssize_t written = ::write(fd, &error, sizeof error);
  ::_exit(127);
}

// The errno written to the pipe by a failed exec, or 0 when the pipe closed unwritten.
int ReadExecError(int fd) {
  int error = 0;
  ssize_t got;
  do {
    got = ::read(fd, &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

StartResult Failed(int error) {
  return StartResult{false, SystemErrorFromErrno(error), 0};
}

StartResult Start(const std::string& program, const std::vector<std::string>& arguments,
                  bool detached) {
  const std::string path = FindProgram(program);
  if (path.empty())
    return Failed(program.find('/') != std::string::npos && ::access(program.c_str(), F_OK) == 0
                      ? EACCES
                      : ENOENT);
  const ArgumentVector argv(path, arguments);
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0)
    return Failed(errno);
  const pid_t child = ::fork();
  if (child < 0) {
    const int error = errno;
    ::close(fds[0]);
    ::close(fds[1]);
    return Failed(error);
  }
  if (child == 0) {
    ::close(fds[0]);
    ::setsid();
    if (detached) {
      // The grandchild runs the program; this child ends at once, so no zombie remains.
      const pid_t grandchild = ::fork();
      if (grandchild != 0)
        ::_exit(grandchild < 0 ? 127 : 0);
    }
    ExecOrReport(argv, fds[1]);
  }
  ::close(fds[1]);
  const int error = ReadExecError(fds[0]);
  ::close(fds[0]);
  if (detached) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
  } else if (error != 0) {
    ::waitpid(child, nullptr, 0);
  }
  if (error != 0)
    return Failed(error);
  return StartResult{true, 0, detached ? 0 : static_cast<long>(child)};
}

} // namespace

std::string FindProgram(const std::string& name) {
  if (name.empty())
    return {};
  if (name.find('/') != std::string::npos)
    return IsExecutableFile(name) ? name : std::string();
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= folders.size()) {
    std::size_t end = folders.find(':', start);
    if (end == std::string::npos)
      end = folders.size();
    const std::string folder = end > start ? folders.substr(start, end - start) : ".";
    const std::string candidate = folder + '/' + name;
    if (IsExecutableFile(candidate))
      return candidate;
    start = end + 1;
  }
  return {};
}

StartResult OpenDocument(const std::string& target) {
  return StartDetached("xdg-open", {target});
}

StartResult StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
  return Start(program, arguments, true);
}

StartResult StartChild(const std::string& program, const std::vector<std::string>& arguments) {
  return Start(program, arguments, false);
}

bool ChildRunning(long process) {
  if (process <= 0)
    return false;
  return ::waitpid(static_cast<pid_t>(process), nullptr, WNOHANG) == 0;
}

void EndChild(long process) {
  if (!ChildRunning(process))
    return;
  ::kill(static_cast<pid_t>(process), SIGTERM);
  while (::waitpid(static_cast<pid_t>(process), nullptr, 0) < 0 && errno == EINTR) {
  }
}

unsigned long SystemErrorFromErrno(int error) {
  switch (error) {
  case 0:
    return 0;
  case ENOENT:
    return 2; // ERROR_FILE_NOT_FOUND
  case ENOTDIR:
    return 3; // ERROR_PATH_NOT_FOUND
  case EACCES:
  case EPERM:
    return 5; // ERROR_ACCESS_DENIED
  case ENOMEM:
  case EAGAIN:
    return 8; // ERROR_NOT_ENOUGH_MEMORY
  case EROFS:
    return 19; // ERROR_WRITE_PROTECT
  case ENXIO:
  case ENODEV:
    return 21; // ERROR_NOT_READY
  case ETXTBSY:
  case EBUSY:
    return 32; // ERROR_SHARING_VIOLATION
  case ENOSPC:
  case EDQUOT:
    return 112; // ERROR_DISK_FULL
  case EIO:
    return 1392; // ERROR_FILE_CORRUPT
  case ENOEXEC:
    return 1151; // ERROR_APP_WRONG_OS ("not a Windows or MS-DOS program")
  default:
    return 31; // ERROR_GEN_FAILURE
  }
}

} // namespace platform
