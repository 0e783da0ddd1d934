#include "frmEditCon.h"

#include "common/DateText.h"
#include "common/KeyFilters.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "log/ContactEdit.h"
#include "log/ContestLog.h"
#include "log/SectionTable.h"
#include "station/CountryField.h"
#include "station/CountryTable.h"
#include "ui/KeyRouting.h"
#include "ui/WindowScaling.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace brindle {

namespace {

const QString InvalidMarker = QStringLiteral("   Invalid!");

std::string bytesIn(const QLineEdit* field)
{
    return toBytes(field->text());
}

bool isDigit(int keyAscii)
{
    return keyAscii >= '0' && keyAscii <= '9';
}

} // namespace

frmEditCon::frmEditCon(
    const ContestLog& log, int editIndex, const CountryTable& countries, OperatorDialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , EditIndex(editIndex)
    , m_log(log)
    , m_original(log.record(editIndex))
    , m_countries(countries)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmEditCon"));
    setWindowTitle(QStringLiteral("Edit Contact Entry"));
    buildForm();
    routeKeys();

    txtEditCall->setText(toQString(m_original.call));
    txtEditCk->setText(toQString(m_original.rstRcvd));
    txtEditSec->setText(toQString(m_original.section));
    txtEditNum->setText(toQString(m_original.rstSent));
    txtEditPre->setText(toQString(m_original.country));
    txtEditDate->setText(toQString(m_original.qsoDate));
    txtEditTime->setText(toQString(m_original.qsoTime));
    txtEditBnd->setText(toQString(m_original.band));
    ScaleDialog(*this, screenGeometryOf(*this));
}

void frmEditCon::buildForm()
{
    auto* grid = new QGridLayout(this);
    lblEditTitle = new QLabel(QStringLiteral("Edit Contact:"), this);
    lblEditTitle->setObjectName(QStringLiteral("lblEditTitle"));
    grid->addWidget(lblEditTitle, 0, 0, 1, 3);

    // Created top to bottom, which is also the tab order.
    int row = 1;
    const auto field = [this, grid, &row](const char* name, const char* caption) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        ++row;
        return edit;
    };
    // A marker stands to the right of the field last added.
    const auto marker = [this, grid, &row](const char* name, const QString& text) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        label->hide();
        grid->addWidget(label, row - 1, 2);
        return label;
    };
    txtEditCall = field("txtEditCall", "Callsign");
    Label1 = marker("Label1", QStringLiteral("Dupe!"));
    txtEditCk = field("txtEditCk", "Rst(R)");
    txtEditSec = field("txtEditSec", "St / PR");
    Label2 = marker("Label2", InvalidMarker);
    txtEditNum = field("txtEditNum", "Rst(S)");
    txtEditPre = field("txtEditPre", "Country");
    txtEditDate = field("txtEditDate", "Date");
    txtEditTime = field("txtEditTime", "Time");
    txtEditBnd = field("txtEditBnd", "Band");
    Label3 = marker("Label3", InvalidMarker);

    cmdDone = new QPushButton(QStringLiteral("Done"), this);
    cmdDone->setObjectName(QStringLiteral("cmdDone"));
    cmdDeleteDupe = new QPushButton(QStringLiteral("Delete Dupe"), this);
    cmdDeleteDupe->setObjectName(QStringLiteral("cmdDeleteDupe"));
    cmdDeleteDupe->hide();
    for (QPushButton* button : { cmdDone, cmdDeleteDupe }) {
        // Enter belongs to the fields' own handlers, never to a default button.
        button->setAutoDefault(false);
    }
    connect(cmdDone, &QPushButton::clicked, this, &frmEditCon::cmdDone_Click);
    connect(cmdDeleteDupe, &QPushButton::clicked, this, &frmEditCon::cmdDeleteDupe_Click);
    grid->addWidget(cmdDone, row, 1);
    grid->addWidget(cmdDeleteDupe, row, 2);

    for (QLineEdit* checked : { txtEditSec, txtEditDate, txtEditTime, txtEditBnd }) {
        checked->installEventFilter(this);
    }
}

void frmEditCon::routeKeys()
{
    m_keys = new KeyRouter(this);
    // Enter in any field is a click on Done.
    const auto withEnter = [this](std::function<void(int&)> filter) {
        return [this, filter = std::move(filter)](int& keyAscii) {
            if (keyAscii == KeyReturn) {
                keyAscii = 0;
                cmdDone_Click();
                return;
            }
            filter(keyAscii);
        };
    };
    // A double quote would end the field early in the log file.
    const auto plain = [](int& keyAscii) { keyAscii = keyAscii == '"' ? 0 : capital(keyAscii); };
    for (QLineEdit* text : { txtEditCall, txtEditCk, txtEditSec, txtEditNum, txtEditBnd }) {
        m_keys->route(text, withEnter(plain));
    }
    m_keys->route(txtEditPre, withEnter([this](int& keyAscii) { countryKeyPress(keyAscii); }));
    m_keys->route(txtEditDate, withEnter([](int& keyAscii) {
        if (keyAscii != KeyBackspace && keyAscii != '/' && !isDigit(keyAscii)) {
            keyAscii = 0;
        }
    }));
    m_keys->route(txtEditTime, withEnter([](int& keyAscii) {
        if (keyAscii != KeyBackspace && keyAscii != ':' && !isDigit(keyAscii)) {
            keyAscii = 0;
        }
    }));
}

void frmEditCon::countryKeyPress(int& keyAscii)
{
    if (keyAscii == '"') {
        keyAscii = 0;
        return;
    }
    if (txtEditPre->cursorPosition() == 0) {
        keyAscii = capital(keyAscii);
    }
    // Only letters typed in the table's own case complete a name: a country typed some other way is an
    // edit the operator means, and stays as typed.
    completeCountryField(*txtEditPre, m_countries, keyAscii, CompletionCase::Match);
}

bool frmEditCon::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Leaving the field, not the window: a message box of our own takes the focus too.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            fieldLeft(static_cast<QLineEdit*>(watched));
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmEditCon::fieldLeft(QLineEdit* field)
{
    // Putting the focus back on a refused field makes the field that had just received it leave in turn;
    // one complaint at a time is enough.
    if (m_checking || !isVisible()) {
        return;
    }
    const QScopedValueRollback checking(m_checking, true);
    if (field == txtEditDate) {
        requireDate();
    } else if (field == txtEditTime) {
        requireTime();
    } else if (field == txtEditSec) {
        Label2->hide();
        if (!SectionTable::isAbbreviation(bytesIn(txtEditSec))) {
            m_dialogs.beep();
            Label2->show();
            refuse(txtEditSec);
        }
    } else if (field == txtEditBnd) {
        if (isEditableBand(bytesIn(txtEditBnd))) {
            Label3->hide();
        } else {
            m_dialogs.beep();
            Label3->show();
            refuse(txtEditBnd);
        }
    }
}

bool frmEditCon::requireDate()
{
    if (readDate(bytesIn(txtEditDate))) {
        return true;
    }
    m_dialogs.beep();
    m_dialogs.message(
        QStringLiteral("Invalid Date Format!"), QStringLiteral("You have entered an invalid date format!"));
    refuse(txtEditDate);
    return false;
}

bool frmEditCon::requireTime()
{
    if (readTimeOfDay(bytesIn(txtEditTime))) {
        return true;
    }
    m_dialogs.beep();
    m_dialogs.message(
        QStringLiteral("Invalid Time Format!"), QStringLiteral("You have entered an invalid time format!"));
    refuse(txtEditTime);
    return false;
}

void frmEditCon::refuse(QLineEdit* field)
{
    field->setFocus(Qt::OtherFocusReason);
}

void frmEditCon::cmdDone_Click()
{
    // The focus moves Done makes are its own; they leave no field in the operator's sense.
    const QScopedValueRollback checking(m_checking, true);
    if (!requireTime() || !requireDate()) {
        return;
    }
    const std::vector<int> duplicates = editDuplicates(m_log, EditIndex, bytesIn(txtEditCall), bytesIn(txtEditBnd));
    if (!duplicates.empty()) {
        Label1->show();
        cmdDeleteDupe->show();
        // A beep for every record the change would duplicate tells the operator how many there are.
        for (std::size_t i = 0; i < duplicates.size(); ++i) {
            m_dialogs.beep();
        }
        return;
    }
    Label1->hide();
    m_edited = brindle::editedRecord(m_original,
        ContactFields { bytesIn(txtEditCall), bytesIn(txtEditCk), bytesIn(txtEditSec), bytesIn(txtEditNum),
            bytesIn(txtEditPre), bytesIn(txtEditDate), bytesIn(txtEditTime), bytesIn(txtEditBnd) });
    accept();
}

void frmEditCon::cmdDeleteDupe_Click()
{
    // Out of the way of the main form's question and of its list while the record goes.
    hide();
    if (m_deleteDupe) {
        m_deleteDupe();
    }
    reject();
}

std::optional<QsoRecord> frmEditCon::editedRecord() const
{
    return m_edited;
}

void frmEditCon::setDeleteDupe(std::function<void()> deleteDupe)
{
    m_deleteDupe = std::move(deleteDupe);
}

} // namespace brindle
