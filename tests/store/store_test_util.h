// Helpers shared by the reader tests.
#pragma once

#include "dbx_writer.h"
#include "platform/pump.h"
#include "store/uoexpress.h"
#include "temp_store.h"

#include <string>
#include <vector>

namespace dbxtest {

inline std::vector<uoexpress::Toe5_MessageInfo> Listing(const DbxImage& image) {
  TempStore store(image);
  std::vector<uoexpress::Toe5_MessageInfo> list;
  uoexpress::ReadMessageInfos(store.path(), list);
  return list;
}

inline std::vector<uoexpress::Toe5_MessageInfo> DeletedListing(const DbxImage& image) {
  TempStore store(image);
  std::vector<uoexpress::Toe5_MessageInfo> list;
  uoexpress::ReadDeletedMessageInfos(store.path(), list);
  return list;
}

inline std::vector<std::int32_t> InfoOffsets(const std::vector<uoexpress::Toe5_MessageInfo>& list) {
  std::vector<std::int32_t> offsets;
  for (const auto& info : list)
    offsets.push_back(info.InfoOffset);
  return offsets;
}

inline std::vector<std::int32_t> DataOffsets(const std::vector<uoexpress::Toe5_MessageInfo>& list) {
  std::vector<std::int32_t> offsets;
  for (const auto& info : list)
    offsets.push_back(info.DataOffset);
  return offsets;
}

inline std::string LiveText(const DbxImage& image, std::int32_t offset, bool full) {
  TempStore store(image);
  std::string text;
  uoexpress::ReadMessageText(store.path(), offset, text, full);
  return text;
}

inline std::string DeletedText(const DbxImage& image, std::int32_t offset, bool full) {
  TempStore store(image);
  std::string text;
  uoexpress::ReadDeletedMessageText(store.path(), offset, text, full);
  return text;
}

// Sets the stop flag for one scope, as the Stop button would, and clears it afterwards.
class ScopedStop {
public:
  ScopedStop() { platform::SetStopRequested(true); }
  ~ScopedStop() { platform::SetStopRequested(false); }
};

// A message pump that counts its calls and requests Stop at the given call.
class CountingPump {
public:
  explicit CountingPump(int stop_at_call = -1) {
    calls_ = 0;
    stop_at_ = stop_at_call;
    platform::SetMessagePump(&Pump);
  }
  ~CountingPump() {
    platform::SetMessagePump(nullptr);
    platform::SetStopRequested(false);
  }
  int calls() const { return calls_; }

private:
  static void Pump() {
    if (++calls_ == stop_at_)
      platform::SetStopRequested(true);
  }
  static inline int calls_ = 0;
  static inline int stop_at_ = -1;
};

} // namespace dbxtest
