#include "QtSettingsStore.h"

#include "common/QtText.h"

#include <QSettings>

namespace brindle {

namespace {

constexpr auto Maker = "KORVA_Software";
constexpr auto Section = "Settings";

QString keyPath(std::string_view key)
{
    return QString::fromLatin1(Section) + QLatin1Char('/') + toQString(key);
}

} // namespace

std::string QtSettingsStore::get(std::string_view key, std::string_view fallback) const
{
    const QSettings settings(QString::fromLatin1(Maker), QString::fromLatin1(Maker));
    return toBytes(settings.value(keyPath(key), toQString(fallback)).toString());
}

void QtSettingsStore::save(std::string_view key, std::string_view value)
{
    QSettings settings(QString::fromLatin1(Maker), QString::fromLatin1(Maker));
    settings.setValue(keyPath(key), toQString(value));
}

} // namespace brindle
