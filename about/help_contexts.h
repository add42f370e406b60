// The context numbers of the help file's pages, as its project file maps them
// (help/SalvoraExpress.hhp, [MAP] and [ALIAS]); keep both in step.
#pragma once

namespace about {

enum HelpContext : int {
  kHelpContents = 10, // the start page; the help menu opens it
  kHelpDrive = 20,
  kHelpSearch = 30,
  kHelpSave = 40,
  kHelpDeletedMessages = 50,
  kHelpWhereFilesGo = 60,
  kHelpTroubleshooting = 70,
  kHelpDeepScan = 80,
  kHelpReading = 90, // reading a message, the filter and the save formats
};

} // namespace about
