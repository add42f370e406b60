#include "critical_errors.h"

namespace platform {

// POSIX systems report such errors to the call and never ask the user.
void FailCriticalErrorsQuietly() {}

} // namespace platform
