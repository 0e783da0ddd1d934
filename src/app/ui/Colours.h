#pragma once

#include <QColor>
#include <QWidget>

#include <cstdint>

namespace brindle {

// Colours are stored as 0x00BBGGRR, red in the lowest byte.
inline QColor fromBgr(std::uint32_t bgr)
{
    return QColor(
        static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

inline std::uint32_t toBgr(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red()) | static_cast<std::uint32_t>(colour.green()) << 8
        | static_cast<std::uint32_t>(colour.blue()) << 16;
}

inline void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

inline void setBackColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

inline QColor textColour(const QWidget* widget)
{
    return widget->palette().color(QPalette::WindowText);
}

} // namespace brindle
