#include "SystemClock.h"

#include <QDateTime>

#include <chrono>

namespace brindle {

namespace {

DateTime fromQt(const QDateTime& t)
{
    const QDate d = t.date();
    const QTime time = t.time();
    return { d.year(), d.month(), d.day(), time.hour(), time.minute(), time.second() };
}

} // namespace

DateTime SystemClock::localNow() const
{
    return fromQt(QDateTime::currentDateTime());
}

DateTime SystemClock::utcNow() const
{
    return fromQt(QDateTime::currentDateTimeUtc());
}

std::int64_t SystemClock::monotonicMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace brindle
