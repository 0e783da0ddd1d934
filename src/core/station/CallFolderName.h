#pragma once

#include <string>
#include <string_view>

namespace brindle {

// A file-name stem from the own call sign: its leading run of digits and upper-case letters ("DL1ABC"
// from "DL1ABC/P"), or "YourCall" when that run is empty.
std::string callFolderName(std::string_view call);

} // namespace brindle
