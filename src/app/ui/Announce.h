#pragma once

#include <functional>

class QWidget;

namespace brindle {

// Tells assistive technology that what widget shows has just changed and matters now: a screen reader
// speaks it, where a sighted operator would see a colour or a word appear.
void announce(QWidget* widget);

// Whoever else in the program follows the announcements (spoken prompts of our own, a test); one at a
// time, none to stop following.
using AnnouncementListener = std::function<void(QWidget* widget)>;
void listenToAnnouncements(AnnouncementListener listener);

} // namespace brindle
