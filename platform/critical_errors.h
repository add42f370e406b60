// How the system reports a drive that cannot be read, such as a removable one without medium.
#pragma once

namespace platform {

// From now on the failing file call returns an error instead of the system showing a box
// that waits for the user.
void FailCriticalErrorsQuietly();

} // namespace platform
