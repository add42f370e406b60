#include "about/help_hook.h"

#include "about/hh.h"

#include <cstdint>
#include <utility>

namespace about {

THookHelpSystem::THookHelpSystem(std::string helpFile, std::string windowName, THelpHost host,
                                 THHFuncs& funcs)
    : helpFile_(std::move(helpFile)), windowName_(std::move(windowName)), host_(host),
      funcs_(funcs) {
  savedOnHelp_ = SetApplicationHelpHandler([this](unsigned command, long data, bool& callDefault) {
    return HelpHook(command, data, callDefault);
  });
  funcs_.HelpLog("THookHelpSystem.Create(\"" + helpFile_ + "\",\"" + windowName_ + "\", " +
                 std::to_string(static_cast<int>(host_)) + ")");
}

THookHelpSystem::~THookHelpSystem() {
  if (host_ == HostApi && funcs_.Services().close_all)
    funcs_.Services().close_all();
  SetApplicationHelpHandler(std::move(savedOnHelp_));
  funcs_.HelpLog("THookHelpSystem.Destroy");
}

bool THookHelpSystem::HelpHook(unsigned command, long data, bool& callDefault) {
  funcs_.HelpLog("THookHelpSystem.HelpHook(" + CommandName(command) + ", " + std::to_string(data) +
                 ")");
  callDefault = false;
  if (command == HELP_CONTEXT || command == HELP_CONTEXTPOPUP) {
    funcs_.HHShowError(
        funcs_.HHHelpContext(helpFile_, static_cast<unsigned long>(data), windowName_, host_));
  } else if (command == HELP_SETPOPUP_POS) {
    const auto bits = static_cast<std::uint32_t>(data);
    popupX_ = static_cast<std::int16_t>(bits & 0xFFFF);
    popupY_ = static_cast<std::int16_t>(bits >> 16);
  } else {
    callDefault = true;
  }
  return true;
}

void ShowHelpContents(const std::string& helpFile, THHFuncs& funcs) {
  if (HtmlHelpControlPath().empty()) {
    if (funcs.Services().warn)
      funcs.Services().warn("Cannot load help file.");
    return;
  }
  if (funcs.Services().show_context)
    funcs.Services().show_context(helpFile, kHelpContentsContext);
}

} // namespace about
