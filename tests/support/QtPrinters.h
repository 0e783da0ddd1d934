#pragma once

#include <QString>

#include <ostream>

// Lets a failed comparison show a text as the operator would read it.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
