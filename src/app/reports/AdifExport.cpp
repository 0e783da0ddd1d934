#include "AdifExport.h"

#include "common/FileSystem.h"
#include "common/OperatorDialogs.h"
#include "common/ProgramTitle.h"
#include "common/QtText.h"
#include "log/ContestLog.h"
#include "reports/Adif.h"
#include "station/DefaultData.h"
#include "station/ProgramStart.h"

#include <QDate>
#include <QTime>

#include <optional>
#include <string>

namespace brindle {

namespace {

std::string answerBytes(const std::optional<QString>& answer)
{
    return answer ? toBytes(*answer) : std::string();
}

void reportFailure(OperatorDialogs& dialogs, const std::string& description)
{
    dialogs.beep();
    dialogs.message(toQString(adifmsg::FailureTitle), toQString(description));
}

// A time format without its time-zone names: the export states the local time the operator reads on
// the desktop's clock, and a zone name would only lengthen the line.
QString withoutTimeZone(const QString& format)
{
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        }
        if (!quoted && c == QLatin1Char('t')) {
            continue;
        }
        result += c;
    }
    return result.trimmed();
}

} // namespace

QString generalDateTimeText(const DateTime& t, const QLocale& locale)
{
    const QDate date(t.year, t.month, t.day);
    const QTime time(t.hour, t.minute, t.second);
    QString text = locale.toString(date, QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(time, withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
    // Some locales set AM and PM apart with a narrow no-break space, which the file's 8-bit text cannot hold.
    text.replace(QChar(0x202F), QLatin1Char(' '));
    return text;
}

void exportAdif(const ContestLog& log, const DefaultData& station, const ProgramFolders& folders, FileSystem& fs,
    const Clock& clock, OperatorDialogs& dialogs)
{
    const std::optional<QString> power = dialogs.inputBox(
        toQString(adifmsg::PowerTitle), toQString(adifmsg::PowerPrompt), toQString(adifmsg::PowerProposed));
    const std::optional<QString> comment = dialogs.inputBox(
        toQString(adifmsg::CommentTitle), toQString(adifmsg::CommentPrompt), toQString(adifmsg::CommentProposed));

    const Result<AdifCountryTable> countries
        = loadAdifCountryTable(fs, folders.sharedDir, folders.programDataDir, folders.workingDir);
    if (!countries) {
        reportFailure(dialogs, countries.error().description);
        return;
    }

    const std::optional<QString> chosen = dialogs.saveFileName(
        pathToQString(folders.programDataDir), toQString(adifmsg::ProposedFileName), toQString(adifmsg::FileFilter));
    if (!chosen) {
        return;
    }

    AdifExportSettings settings;
    settings.power = answerBytes(power);
    settings.comment = answerBytes(comment);
    settings.mode = station.mode;
    settings.programName = programNameFromTitle(mainWindowTitle());
    settings.exportedOn = toBytes(generalDateTimeText(clock.localNow()));
    if (const Status written = fs.replaceFile(pathFromQString(*chosen), adifFileText(log, countries.value(), settings));
        !written) {
        reportFailure(dialogs, written.error().description);
        return;
    }
    dialogs.message(toQString(adifmsg::WrittenTitle),
        toQString(adifmsg::WrittenText) + QStringLiteral("\r\n\r\n") + *chosen + QLatin1Char('.'));
}

} // namespace brindle
