// The failure of a skin component, carrying the text the user is shown.
#pragma once

#include <stdexcept>

namespace skin {

class SkinError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

} // namespace skin
