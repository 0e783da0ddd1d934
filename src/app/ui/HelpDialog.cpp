#include "HelpDialog.h"

#include "common/FileSystem.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "ui/WindowScaling.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>

namespace brindle {

HelpDialog::HelpDialog(const std::string& workingDir, FileSystem& fs, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpDialog"));
    setWindowTitle(QStringLiteral("Help Page"));
    resize(designRect(0, 0, 8400, 6360).size());

    m_helpText = new QPlainTextEdit(this);
    m_helpText->setObjectName(QStringLiteral("helpText"));
    m_helpText->setReadOnly(true);
    // The help text is plain text laid out in columns, with its headings underlined by dashes.
    m_helpText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_helpText->setGeometry(designRect(120, 120, 8160, 5400));

    m_closeButton = new QPushButton(QStringLiteral("Close"), this);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setGeometry(designRect(3600, 5700, 1200, 450));
    m_closeButton->setAutoDefault(false);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::accept);

    scaleByScreenRule(*this, screenGeometryOf(*this));

    m_helpText->clear();
    // Without its help text the page still opens; there is nothing the operator could do about it here.
    const Result<std::string> help = fs.readFile(joinPath(workingDir, HelpFileName));
    if (help.ok()) {
        m_helpText->setPlainText(displayLineBreaks(toQString(help.value())));
    }
}

} // namespace brindle
