#pragma once

#include "common/Clock.h"
#include "common/OperatorMessage.h"

#include <ostream>

namespace brindle {

// Lets a failed comparison show a message box as the operator would read it.
inline void PrintTo(const OperatorMessage& message, std::ostream* os)
{
    *os << "[" << message.title << "] " << message.text;
}

// Lets a failed comparison name the date it was about.
inline void PrintTo(const DateTime& t, std::ostream* os)
{
    *os << t.year << "/" << t.month << "/" << t.day << " " << t.hour << ":" << t.minute << ":" << t.second;
}

} // namespace brindle
