// SPDX-License-Identifier: MIT
// A disk image made in a test: small folder files placed among random bytes, with what each
// of their messages reads back as and where its first block stands in the image.
#pragma once

#include "dbx_writer.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace dbxtest {

struct ImageMessage {
  std::string subject;
  std::string text;          // as the deep scan reads it back: a deleted one's with "____"
  std::int64_t position = 0; // of its first block in the image
  bool deleted = false;
};

struct PlacedStore {
  std::int64_t start = 0; // where the folder file starts in the image
  std::vector<ImageMessage> messages;
};

class DiskImage {
public:
  explicit DiskImage(std::uint32_t seed = 7) : random_(seed) {}

  // Random bytes up to `start`, then a folder file of three messages whose subjects begin
  // with `tag` (one of several blocks; the last one deleted).
  void PlaceStore(std::int64_t start, const std::string& tag) {
    Noise(start);
    StoreBuilder builder;
    PlacedStore store{start, {}};
    const std::string bodies[] = {"Short.\r\n", std::string(3000, 'q') + "\r\n", "Gone.\r\n"};
    for (int i = 0; i < 3; ++i) {
      const std::string subject = tag + std::to_string(i);
      const std::string text = "From: " + tag +
                               "@example.org\r\nTo: b@example.org\r\nSubject: " + subject +
                               "\r\nDate: Mon, 3 Mar 2003 10:20:30 +0000\r\n\r\n" + bodies[i];
      const int message = builder.AddMessage(text);
      store.messages.push_back({subject, text, start + builder.DataOffset(message), false});
    }
    builder.DeleteMessage(2);
    store.messages[2].text = StoreBuilder::DeletedText(store.messages[2].text);
    store.messages[2].deleted = true;
    bytes_ += builder.Build().bytes();
    stores_.push_back(std::move(store));
  }

  // Random bytes up to `end`.
  void Noise(std::int64_t end) {
    while (static_cast<std::int64_t>(bytes_.size()) < end)
      bytes_ += static_cast<char>(random_() & 0xFF);
  }

  const std::string& bytes() const { return bytes_; }
  const std::vector<PlacedStore>& stores() const { return stores_; }
  std::int64_t size() const { return static_cast<std::int64_t>(bytes_.size()); }

private:
  std::mt19937 random_;
  std::string bytes_;
  std::vector<PlacedStore> stores_;
};

// Two folder files in noise, the first at an odd place, the second on a sector boundary.
inline DiskImage TwoStoresInNoise() {
  DiskImage image;
  image.PlaceStore(0x1235, "alpha");
  image.PlaceStore((image.size() + 0x20000) & ~std::int64_t{0xFFFF}, "beta");
  image.Noise(image.size() + 7777);
  return image;
}

} // namespace dbxtest
