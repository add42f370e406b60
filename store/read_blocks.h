// SPDX-License-Identifier: MIT
// The blocks one chain has read, so that it ends at a block it has already read.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <unordered_set>
#include <vector>

namespace uoexpress {

// The blocks a chain has read, so that it ends at a block it has already read and a looping
// chain cannot run forever. Chains mostly run forward through the file: a block past every
// one read so far is new without a look, and only chains that turn back are looked up.
class ReadBlocks {
public:
  ReadBlocks() { in_order_.reserve(32); }

  // False when `block` was read before.
  bool Insert(std::int64_t block) {
    const bool hashed = !looked_up_.empty();
    if (block > highest_) {
      highest_ = block;
    } else {
      if (!hashed && in_order_.size() > kSearchedInPlace) {
        looked_up_.insert(in_order_.begin(), in_order_.end());
        in_order_ = {};
        return looked_up_.insert(block).second;
      }
      if (hashed ? looked_up_.count(block) > 0
                 : std::find(in_order_.begin(), in_order_.end(), block) != in_order_.end())
        return false;
    }
    if (hashed)
      looked_up_.insert(block);
    else
      in_order_.push_back(block);
    return true;
  }

private:
  static constexpr std::size_t kSearchedInPlace = 64;
  std::int64_t highest_ = std::numeric_limits<std::int64_t>::min();
  std::vector<std::int64_t> in_order_;
  // Once a long chain turns back, its blocks move here (and it is never empty again).
  std::unordered_set<std::int64_t> looked_up_;
};

} // namespace uoexpress
