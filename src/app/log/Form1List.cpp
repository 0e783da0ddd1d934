// The main form's contact list, and the commands that change logged contacts: delete and edit.

#include "Form1.h"

#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "log/ContactEditorDialog.h"
#include "log/ContactList.h"
#include "log/ContactListModel.h"
#include "log/Form1Layout.h"
#include "log/LogMessages.h"
#include "ui/WindowScaling.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>

namespace brindle {

namespace {

const QString ListLast20Caption = QStringLiteral("Last 20");
const QString ListAllCaption = QStringLiteral("All");

} // namespace

void Form1::buildContactList(QWidget* central)
{
    constexpr int Left = 220;
    form1::label(central, "lblRecentContacts", QStringLiteral("Recent Contacts"), Left, 102, 90);
    cmdList = form1::placed(new QPushButton(ListLast20Caption, central), Left + 94, 99, 56, 20);
    cmdList->setObjectName(QStringLiteral("cmdList"));
    cmdList->setToolTip(QStringLiteral("List all or last 20 contacts (Listing all will slow the program)"));
    connect(cmdList, &QPushButton::clicked, this, &Form1::cmdList_Click);
    cmdEdit = form1::placed(new QPushButton(QStringLiteral("Edit Contact"), central), 442, 99, 92, 20);
    cmdEdit->setObjectName(QStringLiteral("cmdEdit"));
    connect(cmdEdit, &QPushButton::clicked, this, &Form1::cmdEdit_Click);
    cmdDelete = form1::placed(new QPushButton(QStringLiteral("Delete Contact"), central), 540, 99, 92, 20);
    cmdDelete->setObjectName(QStringLiteral("cmdDelete"));
    connect(cmdDelete, &QPushButton::clicked, this, &Form1::cmdDelete_Click);

    m_contacts = new ContactListModel(m_log.log(), this);
    ListView1 = form1::placed(new QTableView(central), Left, 122, form1::DesignWidth - 8 - Left, 192);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setToolTip(QStringLiteral("Click record number to edit or delete a contact."));
    ListView1->setModel(m_contacts);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setWordWrap(false);
    ListView1->setShowGrid(false);
    // The columns are sized to the form; the last one takes what is left rather than scrolling.
    ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListView1->verticalHeader()->hide();
    // Every row is one line of text: fixed heights let the view lay out a full log without measuring it.
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->horizontalHeader()->setHighlightSections(false);
    ListView1->horizontalHeader()->setStretchLastSection(true);
    ListView1->setProperty(KeepColumnsOnTaskbarResize, true);
    sizeContactList();
    connect(ListView1->horizontalHeader(), &QHeaderView::sectionClicked, this,
        [this](int column) { m_contacts->sortByText(column); });
    ListView1->installEventFilter(this);
    ListView1->viewport()->installEventFilter(this);
    showEditButtons(false);
}

void Form1::sizeContactList()
{
    // Each column keeps its share of the form's width: its design width of the 9,600-unit design form.
    const int designFormWidth = form1::DesignWidth * TwipsPerDesignPixel;
    for (std::size_t column = 0; column < ContactListColumns.size(); ++column) {
        ListView1->setColumnWidth(
            static_cast<int>(column), ContactListColumns[column].designWidth * width() / designFormWidth);
    }
    ListView1->verticalHeader()->setDefaultSectionSize(ListView1->fontMetrics().height() + 4);
}

bool Form1::contactListEvent(QObject* watched, QEvent* event)
{
    const bool hasRows = m_contacts->rowCount() > 0;
    if (watched == ListView1 && event->type() == QEvent::FocusOut && hasRows) {
        showEditButtons(true);
    } else if (watched == ListView1->viewport() && event->type() == QEvent::MouseButtonRelease && hasRows) {
        showEditButtons(true);
        if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            cmdEdit_Click();
            return true;
        }
    }
    return false;
}

void Form1::showEditButtons(bool shown)
{
    cmdEdit->setVisible(shown);
    cmdDelete->setVisible(shown);
}

void Form1::RefreshContactList()
{
    m_contacts->setRecords(recentContacts(m_log.log().count(), m_state.listAllContacts));
}

void Form1::cmdList_Click()
{
    m_state.listAllContacts = !m_state.listAllContacts;
    cmdList->setText(m_state.listAllContacts ? ListAllCaption : ListLast20Caption);
    RefreshContactList();
    txtCall->setFocus();
}

void Form1::mnuListPrevious_Click()
{
    m_state.listPreviousContacts = mnuListPrevious->isChecked();
    SavePref();
}

std::optional<int> Form1::selectedRecord() const
{
    const QModelIndexList rows = ListView1->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        return std::nullopt;
    }
    bool ok = false;
    const int number = m_contacts->text(rows.front().row(), 0).toInt(&ok);
    if (!ok || number < 1 || number > m_log.log().count()) {
        return std::nullopt;
    }
    return number;
}

void Form1::cmdDelete_Click()
{
    const std::optional<int> number = selectedRecord();
    if (!number) {
        showEditButtons(false);
        return;
    }
    const auto answer = m_services.dialogs.message(QStringLiteral("Are you sure?"), QStringLiteral("Are you sure?"),
        OperatorDialogs::Buttons::YesNo, OperatorDialogs::Icon::Question);
    showEditButtons(false);
    if (answer == OperatorDialogs::Answer::No) {
        return;
    }
    ContestLog updated = m_log.log();
    updated.remove(*number);
    if (Status written = m_log.rewrite(updated); !written) {
        reportWriteFailure(logmsg::RewriteErrorText, written.error());
    }
    mnuopen2();
    txtCall->setFocus();
}

void Form1::cmdEdit_Click()
{
    const std::optional<int> number = selectedRecord();
    if (!number) {
        return;
    }
    std::optional<QsoRecord> edited;
    {
        ContactEditorDialog editor(m_log.log(), *number, m_countries, m_services.dialogs, this);
        editor.setDeleteDupe([this] { cmdDelete_Click(); });
        m_services.dialogs.runModal(editor);
        edited = editor.editedRecord();
    }
    showEditButtons(false);
    // The whole log is written however the editor was closed, changed or not; the reload refreshes the
    // list.
    ContestLog updated = m_log.log();
    if (edited && *number <= updated.count()) {
        updated.replace(*number, *edited);
    }
    if (Status written = m_log.rewrite(updated); !written) {
        reportWriteFailure(logmsg::RewriteErrorText, written.error());
    }
    mnuopen2();
}

} // namespace brindle
