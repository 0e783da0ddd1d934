#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <ostream>

// Lets a failed comparison show a text as the operator would read it.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QRect& r, std::ostream* os)
{
    *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ")";
}

inline void PrintTo(const QSize& s, std::ostream* os)
{
    *os << "QSize(" << s.width() << ", " << s.height() << ")";
}
