// The forms the save run writes messages in.
#pragma once

namespace app {

// One .eml file a message; one mbox file a folder file; one Maildir a folder file.
enum class SaveFormat { Eml, Mbox, Maildir };

} // namespace app
