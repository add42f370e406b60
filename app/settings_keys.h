// The program's own registry names.
#pragma once

namespace app {

inline constexpr char kProgramKey[] = "Software\\SalvoraExpress";
inline constexpr char kOptionsKey[] = "Software\\SalvoraExpress\\Options";
inline constexpr char kSavePathValue[] = "Save Path";
inline constexpr char kPrefixValue[] = "Prefix";
// The store folder last chosen by the user instead of the one Outlook Express recorded.
inline constexpr char kStoreFolderValue[] = "Store Folder";

} // namespace app
