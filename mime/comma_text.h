// A list of strings as one comma-separated text, quoting the items that need it.
#pragma once

#include <string>
#include <vector>

namespace mime {

// Items joined by ","; an item holding a byte from 1 to 32, a double quote or a comma is put
// in double quotes with inner quotes doubled. A single empty item gives "\"\"".
std::string CommaText(const std::vector<std::string>& items);

} // namespace mime
