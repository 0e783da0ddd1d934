#pragma once

#include "common/OperatorMessage.h"

#include <ostream>

namespace brindle {

// Lets a failed comparison show a message box as the operator would read it.
inline void PrintTo(const OperatorMessage& message, std::ostream* os)
{
    *os << "[" << message.title << "] " << message.text;
}

} // namespace brindle
