// Names of messages delivered into a Maildir.
#pragma once

#include <string>

namespace platform {

// A name no other delivery into the same Maildir uses, from this or another process or
// machine: "<seconds>.M<microseconds>P<process>Q<count>.<host>".
std::string NewMaildirName();

// What follows a message's name in "cur": the info part ":2," (no flags), or "!2," on
// Windows, whose file names cannot hold ":".
extern const char kMaildirInfo[];

} // namespace platform
