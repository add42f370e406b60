// Setting and removing a variable of this process's environment, for tests.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace testenv {

#ifdef _WIN32
// _putenv_s keeps the C library's copy and the system's (which the Windows calls read) in step;
// an empty value removes the variable.
inline void SetVariable(const std::string& name, const std::optional<std::string>& value) {
  ::_putenv_s(name.c_str(), value ? value->c_str() : "");
}
#else
inline void SetVariable(const std::string& name, const std::optional<std::string>& value) {
  if (value)
    ::setenv(name.c_str(), value->c_str(), 1);
  else
    ::unsetenv(name.c_str());
}
#endif

} // namespace testenv
