#pragma once

#include <QString>

#include <cstdint>

class QLabel;

namespace brindle {

// The main window's back colours, 0x00BBGGRR: the message line at rest (also the possible-duplicates
// box when it lists calls), after a duplicate, and in keyboard CW mode.
inline constexpr std::uint32_t MessageBackColour = 0xC0C000;
inline constexpr std::uint32_t DuplicateBackColour = 0x0000FF;
inline constexpr std::uint32_t KeyboardCwBackColour = 0xC0FFFF;
inline constexpr std::uint32_t DupeListBackColour = MessageBackColour;
inline constexpr std::uint32_t SpottedBackColour = 0xFFFFFF;

// The main window's one-line message to the operator. Its colour says what kind of message it is, so
// every part writes it through here rather than to the label.
class MessageLine
{
public:
    explicit MessageLine(QLabel* label);

    // A message in whatever colour the line has now.
    void show(const QString& text);
    // A duplicate: the message on the duplicate colour.
    void showDuplicate(const QString& text);
    // The own call spotted, on white.
    void showSpotted(const QString& text);
    // Keyboard CW mode's reminder on its own colour.
    void showKeyboardCw(const QString& text);
    // A blank line on the resting colour, as after a contact is logged or the entry is cleared.
    void reset();
    // An empty line on the resting colour.
    void clear();
    // Back to the resting colour, the text as it is.
    void restoreColour();

private:
    void setText(const QString& text);
    void setColour(std::uint32_t bgr);

    QLabel* m_label;
};

} // namespace brindle
