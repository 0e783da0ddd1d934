#include "Announce.h"

#include <QAccessible>
#include <QWidget>

namespace brindle {

namespace {

AnnouncementListener& listener()
{
    static AnnouncementListener current;
    return current;
}

} // namespace

void announce(QWidget* widget)
{
    // Qt 6.4 has no announcement of its own: a name change with an alert is what screen readers follow.
    QAccessibleEvent changed(widget, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
    QAccessibleEvent alert(widget, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    if (listener()) {
        listener()(widget);
    }
}

void listenToAnnouncements(AnnouncementListener newListener)
{
    listener() = std::move(newListener);
}

} // namespace brindle
