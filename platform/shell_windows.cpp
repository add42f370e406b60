#include "platform/shell.h"

#include <cerrno>
// clang-format off
#include <windows.h>
#include <shellapi.h> // needs what windows.h defines
// clang-format on

namespace platform {
namespace {

// One argument as the C runtime of the started program splits the command line: quoted when
// it holds blanks or quotes, with backslashes doubled before a quote.
std::string QuotedArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos)
    return argument;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + '"';
}

class Handle {
public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (handle_ != nullptr)
      ::CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }

private:
  HANDLE handle_;
};

StartResult Start(const std::string& program, const std::vector<std::string>& arguments) {
  const std::string path = FindProgram(program);
  if (path.empty())
    return StartResult{false, ERROR_FILE_NOT_FOUND, 0};
  std::string command_line = QuotedArgument(path);
  for (const std::string& argument : arguments)
    command_line += ' ' + QuotedArgument(argument);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(path.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
    return StartResult{false, ::GetLastError(), 0};
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return StartResult{true, 0, static_cast<long>(process.dwProcessId)};
}

} // namespace

StartResult OpenDocument(const std::string& target) {
  // Results up to 32 are errors; most are the system error codes of the same number.
  const auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOW));
  if (result > 32)
    return StartResult{true, 0, 0};
  const DWORD error = ::GetLastError();
  return StartResult{false, error != 0 ? error : static_cast<unsigned long>(result), 0};
}

StartResult StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
  StartResult result = Start(program, arguments);
  result.process = 0; // a Windows process runs on its own once its handles are closed
  return result;
}

StartResult StartChild(const std::string& program, const std::vector<std::string>& arguments) {
  return Start(program, arguments);
}

bool ChildRunning(long process) {
  if (process <= 0)
    return false;
  Handle handle(::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(process)));
  return handle.get() != nullptr && ::WaitForSingleObject(handle.get(), 0) == WAIT_TIMEOUT;
}

void EndChild(long process) {
  if (process <= 0)
    return;
  Handle handle(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, static_cast<DWORD>(process)));
  if (handle.get() == nullptr)
    return;
  if (::WaitForSingleObject(handle.get(), 0) == WAIT_TIMEOUT && ::TerminateProcess(handle.get(), 1))
    ::WaitForSingleObject(handle.get(), INFINITE);
}

std::string FindProgram(const std::string& name) {
  if (name.empty())
    return {};
  if (name.find_first_of("\\/:") != std::string::npos) {
    const DWORD attributes = ::GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0
               ? name
               : std::string();
  }
  // The program's folder, the current folder, the system folders, then PATH; ".exe" is
  // added to a name without an extension.
  char found[MAX_PATH] = {};
  const DWORD length = ::SearchPathA(nullptr, name.c_str(), ".exe", MAX_PATH, found, nullptr);
  return length > 0 && length < MAX_PATH ? std::string(found, length) : std::string();
}

unsigned long SystemErrorFromErrno(int error) {
  switch (error) {
  case 0:
    return 0;
  case ENOENT:
    return ERROR_FILE_NOT_FOUND;
  case ENOTDIR:
    return ERROR_PATH_NOT_FOUND;
  case EACCES:
  case EPERM:
    return ERROR_ACCESS_DENIED;
  case ENOMEM:
  case EAGAIN:
    return ERROR_NOT_ENOUGH_MEMORY;
  case EROFS:
    return ERROR_WRITE_PROTECT;
  case ENXIO:
  case ENODEV:
    return ERROR_NOT_READY;
  case EBUSY:
    return ERROR_SHARING_VIOLATION;
  case ENOSPC:
    return ERROR_DISK_FULL;
  case EIO:
    return ERROR_FILE_CORRUPT;
  case ENOEXEC:
    return ERROR_APP_WRONG_OS;
  default:
    return ERROR_GEN_FAILURE;
  }
}

} // namespace platform
