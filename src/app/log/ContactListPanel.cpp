#include "ContactListPanel.h"

#include "common/OperatorDialogs.h"
#include "log/ContactEditorDialog.h"
#include "log/ContactList.h"
#include "log/ContactListModel.h"
#include "log/ContestSession.h"
#include "log/SessionController.h"
#include "ui/WindowScaling.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>

namespace brindle {

namespace {

const QString ListLast20Caption = QStringLiteral("Last 20");
const QString ListAllCaption = QStringLiteral("All");

} // namespace

ContactListPanel::ContactListPanel(
    QWidget* canvas, ContestSession& session, OperatorDialogs& dialogs, SessionController& controller)
    : DesignPanel(canvas, QRect(216, 98, 424, 218))
    , m_session(session)
    , m_dialogs(dialogs)
    , m_controller(controller)
{
    constexpr int Left = 220;
    addLabel("recentContactsCaption", QStringLiteral("Recent Contacts"), Left, 102, 90);
    m_listAllButton = place(new QPushButton(ListLast20Caption, this), Left + 94, 99, 56, 20);
    m_listAllButton->setObjectName(QStringLiteral("listAllButton"));
    m_listAllButton->setToolTip(QStringLiteral("List all or last 20 contacts (Listing all will slow the program)"));
    connect(m_listAllButton, &QPushButton::clicked, this, &ContactListPanel::toggleListAll);
    m_editContactButton = place(new QPushButton(QStringLiteral("Edit Contact"), this), 442, 99, 92, 20);
    m_editContactButton->setObjectName(QStringLiteral("editContactButton"));
    connect(m_editContactButton, &QPushButton::clicked, this, &ContactListPanel::editSelectedContact);
    m_deleteContactButton = place(new QPushButton(QStringLiteral("Delete Contact"), this), 540, 99, 92, 20);
    m_deleteContactButton->setObjectName(QStringLiteral("deleteContactButton"));
    connect(m_deleteContactButton, &QPushButton::clicked, this, &ContactListPanel::deleteSelectedContact);

    m_contactListModel = new ContactListModel(m_session.log.log(), this);
    m_contactList = place(new QTableView(this), Left, 122, DesignCanvas.width() - 8 - Left, 192);
    m_contactList->setObjectName(QStringLiteral("contactList"));
    m_contactList->setToolTip(QStringLiteral("Click record number to edit or delete a contact."));
    m_contactList->setAccessibleName(QStringLiteral("Recent contacts"));
    m_contactList->setModel(m_contactListModel);
    m_contactList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_contactList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_contactList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_contactList->setWordWrap(false);
    m_contactList->setShowGrid(false);
    // The columns are sized to the window; the last one takes what is left rather than scrolling.
    m_contactList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_contactList->verticalHeader()->hide();
    // Every row is one line of text: fixed heights let the view lay out a full log without measuring it.
    m_contactList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_contactList->horizontalHeader()->setHighlightSections(false);
    m_contactList->horizontalHeader()->setStretchLastSection(true);
    m_contactList->setProperty(KeepColumnsOnTaskbarResize, true);
    sizeColumns(DesignCanvas.width());
    connect(m_contactList->horizontalHeader(), &QHeaderView::sectionClicked, this,
        [this](int column) { m_contactListModel->sortByText(column); });
    // Tab leaves the list for the commands on its selected row, as it does every other control.
    m_contactList->setTabKeyNavigation(false);
    QWidget::setTabOrder(m_contactList, m_editContactButton);
    QWidget::setTabOrder(m_editContactButton, m_deleteContactButton);
    connect(m_contactList->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (selectedRecord()) {
            showEditButtons(true);
        }
    });
    m_contactList->installEventFilter(this);
    m_contactList->viewport()->installEventFilter(this);
    showEditButtons(false);
}

void ContactListPanel::sizeColumns(int windowWidth)
{
    // Each column keeps its share of the window's width: its design width of the 9,600-unit canvas.
    const int designWidth = DesignCanvas.width() * TwipsPerDesignPixel;
    for (std::size_t column = 0; column < ContactListColumns.size(); ++column) {
        m_contactList->setColumnWidth(
            static_cast<int>(column), ContactListColumns[column].designWidth * windowWidth / designWidth);
    }
    m_contactList->verticalHeader()->setDefaultSectionSize(m_contactList->fontMetrics().height() + 4);
}

bool ContactListPanel::eventFilter(QObject* watched, QEvent* event)
{
    const bool hasRows = m_contactListModel->rowCount() > 0;
    if (watched == m_contactList && event->type() == QEvent::FocusOut && hasRows) {
        showEditButtons(true);
    } else if (watched == m_contactList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && selectedRecord()) {
            editSelectedContact();
            return true;
        }
    } else if (watched == m_contactList->viewport() && event->type() == QEvent::MouseButtonRelease && hasRows) {
        showEditButtons(true);
        if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            editSelectedContact();
            return true;
        }
    }
    return DesignPanel::eventFilter(watched, event);
}

void ContactListPanel::showEditButtons(bool shown)
{
    m_editContactButton->setVisible(shown);
    m_deleteContactButton->setVisible(shown);
}

void ContactListPanel::returnToRecentContacts(bool newCall)
{
    showEditButtons(false);
    const int listed = m_contactListModel->rowCount();
    if (newCall && listed < m_session.log.log().count() && listed < 18) {
        refreshContactList();
    }
}

void ContactListPanel::refreshContactList()
{
    m_contactListModel->setRecords(recentContacts(m_session.log.log().count(), m_session.state.listAllContacts));
}

void ContactListPanel::showRecords(const std::vector<int>& numbers)
{
    m_contactListModel->setRecords(numbers);
}

const std::vector<int>& ContactListPanel::listedRecords() const
{
    return m_contactListModel->records();
}

void ContactListPanel::toggleListAll()
{
    m_session.state.listAllContacts = !m_session.state.listAllContacts;
    m_listAllButton->setText(m_session.state.listAllContacts ? ListAllCaption : ListLast20Caption);
    refreshContactList();
    emit callFocusWanted();
}

std::optional<int> ContactListPanel::selectedRecord() const
{
    const QModelIndexList rows = m_contactList->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        return std::nullopt;
    }
    bool ok = false;
    const int number = m_contactListModel->text(rows.front().row(), 0).toInt(&ok);
    if (!ok || number < 1 || number > m_session.log.log().count()) {
        return std::nullopt;
    }
    return number;
}

void ContactListPanel::deleteSelectedContact()
{
    const std::optional<int> number = selectedRecord();
    if (!number) {
        showEditButtons(false);
        return;
    }
    const auto answer = m_dialogs.message(QStringLiteral("Are you sure?"), QStringLiteral("Are you sure?"),
        OperatorDialogs::Buttons::YesNo, OperatorDialogs::Icon::Question);
    showEditButtons(false);
    if (answer == OperatorDialogs::Answer::No) {
        return;
    }
    ContestLog updated = m_session.log.log();
    updated.remove(*number);
    m_controller.rewriteLog(updated);
    m_controller.reloadLog();
    emit callFocusWanted();
}

void ContactListPanel::editSelectedContact()
{
    const std::optional<int> number = selectedRecord();
    if (!number) {
        return;
    }
    std::optional<QsoRecord> edited;
    {
        ContactEditorDialog editor(m_session.log.log(), *number, m_session.countries, m_dialogs, window());
        editor.setDeleteDupe([this] { deleteSelectedContact(); });
        m_dialogs.runModal(editor);
        edited = editor.editedRecord();
    }
    showEditButtons(false);
    // The whole log is written however the editor was closed, changed or not; the reload refreshes the
    // list.
    ContestLog updated = m_session.log.log();
    if (edited && *number <= updated.count()) {
        updated.replace(*number, *edited);
    }
    m_controller.rewriteLog(updated);
    m_controller.reloadLog();
}

} // namespace brindle
