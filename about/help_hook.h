// THookHelpSystem: while it lives, the application's help requests go to the compiled help
// file through the help functions.
#pragma once

#include "about/application_help.h"
#include "about/hh_funcs.h"

#include <string>

namespace about {

class THookHelpSystem {
public:
  // Installs HelpHook as the application's help handler, keeping the one it replaces.
  THookHelpSystem(std::string helpFile, std::string windowName, THelpHost host,
                  THHFuncs& funcs = HelpFuncs());
  // Closes the help windows (HostApi) and puts the earlier handler back.
  ~THookHelpSystem();
  THookHelpSystem(const THookHelpSystem&) = delete;
  THookHelpSystem& operator=(const THookHelpSystem&) = delete;

  // Always true: 1 and 8 show the context, 13 keeps the popup position, any other command
  // is left to the standard handling (`callDefault` true).
  bool HelpHook(unsigned command, long data, bool& callDefault);

  const std::string& HelpFile() const { return helpFile_; }
  const std::string& WindowName() const { return windowName_; }
  THelpHost Host() const { return host_; }
  int PopupX() const { return popupX_; }
  int PopupY() const { return popupY_; }

private:
  std::string helpFile_;
  std::string windowName_;
  THelpHost host_;
  THHFuncs& funcs_;
  HelpHandler savedOnHelp_;
  int popupX_ = 0;
  int popupY_ = 0;
};

// The help menu's "Help" item: "Cannot load help file." when there is no viewer, otherwise
// the help file at context 10.
void ShowHelpContents(const std::string& helpFile, THHFuncs& funcs = HelpFuncs());

} // namespace about
