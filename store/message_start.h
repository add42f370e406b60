// SPDX-License-Identifier: MIT
// Telling a block whose text begins a message from one that goes on with a message's text.
#pragma once

#include <string_view>

namespace uoexpress {

// Whether `text` begins the way a stored message begins: with a header field that opens
// messages ("Received:", "Return-Path:", "From:", an "X-" field...). Any field name and a colon
// would not do: a block that goes on with a folded header ("eived: from ...") or with a MIME
// part's header ("Content-Type: ...") has those too.
bool BeginsMessage(std::string_view text);

// The same for a freed block's text, whose first four bytes the deleted chain's link overwrote
// and now read "____": the rest of the first field's name must end a name that opens messages
// (Named). A name of four letters leaves only its colon right after the "____" to tell by, as
// a body line may too (Colon).
enum class FreedStart { None, Colon, Named };
FreedStart BeginsFreedMessage(std::string_view text);

} // namespace uoexpress
