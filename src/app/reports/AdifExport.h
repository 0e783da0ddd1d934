#pragma once

#include "common/Clock.h"

#include <QLocale>
#include <QString>

namespace brindle {

class ContestLog;
class FileSystem;
class OperatorDialogs;
struct DefaultData;
struct ProgramFolders;

// File › "Export &ADIF": asks for the power and the comment, reads the country-to-ADIF table, asks where
// to save (cancelling ends quietly) and writes the whole log there. A failure beeps and is shown with
// its description.
void exportAdif(const ContestLog& log, const DefaultData& station, const ProgramFolders& folders, FileSystem& fs,
    const Clock& clock, OperatorDialogs& dialogs);

// A date and time as the desktop writes them in general: its short date and its time with seconds.
QString generalDateTimeText(const DateTime& t, const QLocale& locale = QLocale());

} // namespace brindle
