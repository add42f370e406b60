// Where the reader finds things in a folder file.
#pragma once

#include <cstdint>

namespace uoexpress::layout {

// File header.
constexpr unsigned char kSignature[4] = {0xCF, 0xAD, 0x12, 0xFE};
constexpr std::int64_t kHeaderSize = 0x24BC;
constexpr std::int64_t kRootNodeOffset = 48;
constexpr std::int64_t kFallbackTableLength = 52;
constexpr std::int64_t kDeletedChainHead = 72;
constexpr std::int64_t kMessageCount = 196;

// Fallback table of message-info record offsets.
constexpr std::int32_t kFallbackTable = 123476;
constexpr std::int32_t kFallbackFirstEntry = 24;
constexpr std::int32_t kFallbackEntrySize = 12;

// Index node.
constexpr std::int64_t kNodeHeaderSize = 24;
constexpr std::int64_t kNodeSecondLink = 8;
constexpr std::int64_t kNodeFirstLink = 12;
constexpr std::int64_t kNodeCountWord = 16;
constexpr std::int64_t kNodeEntrySize = 12;
constexpr std::uint32_t kProbedNodeEntries = 50;

// Message-info record.
constexpr std::int64_t kRecordHeaderSize = 12;
constexpr std::int64_t kRecordBodyLength = 4;
constexpr std::int64_t kRecordEntryCount = 10;
constexpr int kMaxAttributeEntries = 50;
// Where the data-block offset stands when no attribute names it: twelve bytes into the
// value area.
constexpr std::int64_t kFixedDataOffsetInValues = 12;

// Data blocks, live and deleted.
constexpr std::int64_t kBlockSize = 528;
constexpr std::int64_t kBlockLength = 8;
constexpr std::int64_t kBlockNext = 12;
constexpr std::int64_t kBlockText = 16;
constexpr std::int64_t kBlockTextSize = 512;
constexpr std::int64_t kDeletedChainLink = 16;
constexpr std::int32_t kDeletedLengthBias = 16;

// Preview reads stop once this many bytes' worth of blocks have been counted.
constexpr std::int64_t kPreviewLimit = 10240;

} // namespace uoexpress::layout
