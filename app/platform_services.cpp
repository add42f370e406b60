#include "platform_services.h"

#include "mime/content_type.h"
#include "mime/mail_date.h"
#include "platform/content_types.h"
#include "platform/critical_errors.h"
#include "platform/exclusive_file.h"
#include "platform/random_access_file.h"
#include "platform/time_zone.h"

namespace app {

void InstallPlatformServices() {
  platform::SetFileOpener(&platform::OpenExclusiveForReading);
  mime::SetContentTypeLookup(&platform::ContentTypeForExtension);
  mime::SetLocalTimeBiasSource(&platform::CurrentLocalTimeBias);
  platform::FailCriticalErrorsQuietly();
}

} // namespace app
