// A scanned folder file and a destination folder for the save-run tests.
#pragma once

#include "app/save_run.h"
#include "store/uoexpress.h"
#include "workflow_fixture.h"

#include <algorithm>
#include <filesystem>

namespace testenv {

inline std::vector<std::string> FileNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A scanned list of the given texts in one folder file "Inbox.dbx".
class SaveFixture : public WorkflowFixture {
public:
  SaveFixture(const std::vector<std::string>& texts, const std::vector<int>& deleted = {}) {
    dbxtest::StoreBuilder builder;
    for (const auto& text : texts)
      builder.AddMessage(text);
    for (int message : deleted)
      builder.DeleteMessage(message);
    WriteFolderFile("Inbox.dbx", builder.Build());
    RecordingObserver observer;
    list = Scan({{"Inbox.dbx", true}}, observer);
    std::filesystem::create_directory(out.path() + "/mail");
  }

  bool Save() { return app::SaveEmails(list, TempDir(), Destination(), notifier, count); }
  std::string Destination() const { return out.path() + "/mail"; }

  app::RecoveredList list;
  app::SaveCount count; // of the last Save
  TempFolder out;
};

} // namespace testenv
