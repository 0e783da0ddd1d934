#include "Form5.h"

#include "common/FileSystem.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "ui/WindowScaling.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>

namespace brindle {

Form5::Form5(const std::string& workingDir, FileSystem& fs, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Help Page"));
    resize(designRect(0, 0, 8400, 6360).size());

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    // The help text is plain text laid out in columns, with its headings underlined by dashes.
    Text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Text1->setGeometry(designRect(120, 120, 8160, 5400));

    Command1 = new QPushButton(QStringLiteral("Close"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(designRect(3600, 5700, 1200, 450));
    Command1->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &Form5::Command1_Click);

    scaleByScreenRule(*this, screenGeometryOf(*this));

    Text1->clear();
    // Without its help text the page still opens; there is nothing the operator could do about it here.
    const Result<std::string> help = fs.readFile(joinPath(workingDir, HelpFileName));
    if (help.ok()) {
        Text1->setPlainText(displayLineBreaks(toQString(help.value())));
    }
}

void Form5::Command1_Click()
{
    hide();
}

} // namespace brindle
