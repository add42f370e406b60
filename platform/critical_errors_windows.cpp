#include "critical_errors.h"

#include <windows.h>

namespace platform {

void FailCriticalErrorsQuietly() {
  ::SetErrorMode(SEM_FAILCRITICALERRORS);
}

} // namespace platform
