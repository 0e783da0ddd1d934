// The main window's contact list, and the commands that change logged contacts: delete and edit.

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

void MainWindow::buildContactList(QWidget* central)
{
    constexpr int Left = 220;
    form1::label(central, "recentContactsCaption", QStringLiteral("Recent Contacts"), Left, 102, 90);
    m_listAllButton = form1::placed(new QPushButton(ListLast20Caption, central), Left + 94, 99, 56, 20);
    m_listAllButton->setObjectName(QStringLiteral("listAllButton"));
    m_listAllButton->setToolTip(QStringLiteral("List all or last 20 contacts (Listing all will slow the program)"));
    connect(m_listAllButton, &QPushButton::clicked, this, &MainWindow::toggleListAll);
    m_editContactButton = form1::placed(new QPushButton(QStringLiteral("Edit Contact"), central), 442, 99, 92, 20);
    m_editContactButton->setObjectName(QStringLiteral("editContactButton"));
    connect(m_editContactButton, &QPushButton::clicked, this, &MainWindow::editSelectedContact);
    m_deleteContactButton = form1::placed(new QPushButton(QStringLiteral("Delete Contact"), central), 540, 99, 92, 20);
    m_deleteContactButton->setObjectName(QStringLiteral("deleteContactButton"));
    connect(m_deleteContactButton, &QPushButton::clicked, this, &MainWindow::deleteSelectedContact);

    m_contactListModel = new ContactListModel(m_log.log(), this);
    m_contactList = form1::placed(new QTableView(central), Left, 122, form1::DesignWidth - 8 - Left, 192);
    m_contactList->setObjectName(QStringLiteral("contactList"));
    m_contactList->setToolTip(QStringLiteral("Click record number to edit or delete a contact."));
    m_contactList->setModel(m_contactListModel);
    m_contactList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_contactList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_contactList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_contactList->setWordWrap(false);
    m_contactList->setShowGrid(false);
    // The columns are sized to the form; the last one takes what is left rather than scrolling.
    m_contactList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_contactList->verticalHeader()->hide();
    // Every row is one line of text: fixed heights let the view lay out a full log without measuring it.
    m_contactList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_contactList->horizontalHeader()->setHighlightSections(false);
    m_contactList->horizontalHeader()->setStretchLastSection(true);
    m_contactList->setProperty(KeepColumnsOnTaskbarResize, true);
    sizeContactList();
    connect(m_contactList->horizontalHeader(), &QHeaderView::sectionClicked, this,
        [this](int column) { m_contactListModel->sortByText(column); });
    m_contactList->installEventFilter(this);
    m_contactList->viewport()->installEventFilter(this);
    showEditButtons(false);
}

void MainWindow::sizeContactList()
{
    // Each column keeps its share of the form's width: its design width of the 9,600-unit design form.
    const int designFormWidth = form1::DesignWidth * TwipsPerDesignPixel;
    for (std::size_t column = 0; column < ContactListColumns.size(); ++column) {
        m_contactList->setColumnWidth(
            static_cast<int>(column), ContactListColumns[column].designWidth * width() / designFormWidth);
    }
    m_contactList->verticalHeader()->setDefaultSectionSize(m_contactList->fontMetrics().height() + 4);
}

bool MainWindow::contactListEvent(QObject* watched, QEvent* event)
{
    const bool hasRows = m_contactListModel->rowCount() > 0;
    if (watched == m_contactList && event->type() == QEvent::FocusOut && hasRows) {
        showEditButtons(true);
    } else if (watched == m_contactList->viewport() && event->type() == QEvent::MouseButtonRelease && hasRows) {
        showEditButtons(true);
        if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            editSelectedContact();
            return true;
        }
    }
    return false;
}

void MainWindow::showEditButtons(bool shown)
{
    m_editContactButton->setVisible(shown);
    m_deleteContactButton->setVisible(shown);
}

void MainWindow::refreshContactList()
{
    m_contactListModel->setRecords(recentContacts(m_log.log().count(), m_state.listAllContacts));
}

void MainWindow::toggleListAll()
{
    m_state.listAllContacts = !m_state.listAllContacts;
    m_listAllButton->setText(m_state.listAllContacts ? ListAllCaption : ListLast20Caption);
    refreshContactList();
    m_callField->setFocus();
}

void MainWindow::toggleListPrevious()
{
    m_state.listPreviousContacts = m_listPreviousAction->isChecked();
    saveDefaultData();
}

std::optional<int> MainWindow::selectedRecord() const
{
    const QModelIndexList rows = m_contactList->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        return std::nullopt;
    }
    bool ok = false;
    const int number = m_contactListModel->text(rows.front().row(), 0).toInt(&ok);
    if (!ok || number < 1 || number > m_log.log().count()) {
        return std::nullopt;
    }
    return number;
}

void MainWindow::deleteSelectedContact()
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
    reloadLog();
    m_callField->setFocus();
}

void MainWindow::editSelectedContact()
{
    const std::optional<int> number = selectedRecord();
    if (!number) {
        return;
    }
    std::optional<QsoRecord> edited;
    {
        ContactEditorDialog editor(m_log.log(), *number, m_countries, m_services.dialogs, this);
        editor.setDeleteDupe([this] { deleteSelectedContact(); });
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
    reloadLog();
}

} // namespace brindle
