// Decoding one message-info record: its attribute table and the values it points at.
#pragma once

#include "dbx_stream.h"
#include "uoexpress.h"

#include <optional>

namespace uoexpress {

// The record at `offset`, with DataOffset taken from the fixed place when no attribute names
// it; nothing when the record fails its self-offset test or its entry count is outside 1..50.
std::optional<Toe5_MessageInfo> ReadMessageRecord(DbxStream& stream, std::int32_t offset);

} // namespace uoexpress
