#pragma once

#include <string>
#include <vector>

namespace brindle {

// A message box the core asks the window side to show: title and text exactly as the operator reads
// them, in the files' 8-bit encoding.
struct OperatorMessage
{
    std::string title;
    std::string text;

    bool operator==(const OperatorMessage&) const = default;
};

using OperatorMessages = std::vector<OperatorMessage>;

} // namespace brindle
