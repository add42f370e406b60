// Fixed wording of the about window and the version resource.
#pragma once

namespace about {

// The copyright notice is this followed by the company name.
inline constexpr char kCopyrightLead[] = "Copyright \u00A9 2026 ";
inline constexpr char kContactPointsText[] = "Contact points are: ";
inline constexpr char kTelephoneText[] = "Telephone: +1 555 0100, weekdays 9:00 to 17:00";
inline constexpr char kVersionLead[] = "Version ";
inline constexpr char kLoadingText[] = "Loading ";
// Put before the web address setting, which has none, as the home-page menu item does.
inline constexpr char kWebScheme[] = "http://";
// The artwork replacing the built-in one, in the program folder.
inline constexpr char kSplashBitmap[] = "Data/splash.bmp";

} // namespace about
