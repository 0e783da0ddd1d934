#pragma once

#include "ui/DesignPanel.h"

#include <optional>
#include <vector>

class QPushButton;
class QTableView;

namespace brindle {

class ContactListModel;
class OperatorDialogs;
class SessionController;
struct ContestSession;

// The contact list: the last 20 contacts or all of them, or one station's earlier contacts, with the
// commands that edit and delete the contact of the selected row.
class ContactListPanel : public DesignPanel
{
    Q_OBJECT

public:
    ContactListPanel(QWidget* canvas, ContestSession& session, OperatorDialogs& dialogs, SessionController& controller);

    // The recent contacts: the last 20, or all while the list shows all.
    void refreshContactList();
    // These records, in this order.
    void showRecords(const std::vector<int>& numbers);
    const std::vector<int>& listedRecords() const;
    void toggleListAll();
    // Deletes the contact of the selected row after asking; nothing without a selected row.
    void deleteSelectedContact();
    // Opens the contact of the selected row in the editor, then writes and reloads the log.
    void editSelectedContact();
    void showEditButtons(bool shown);
    // The call field got the focus: the edit buttons go, and a list of one station's earlier contacts
    // gives way to the recent contacts when a new call begins.
    void returnToRecentContacts(bool newCall);
    // The columns in their share of the window's width, and one line of the list's font a row.
    void sizeColumns(int windowWidth);

signals:
    void callFocusWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The record number of the selected row; nothing when no row is selected.
    std::optional<int> selectedRecord() const;

    ContestSession& m_session;
    OperatorDialogs& m_dialogs;
    SessionController& m_controller;
    ContactListModel* m_contactListModel = nullptr;
    QTableView* m_contactList = nullptr;
    QPushButton* m_listAllButton = nullptr;
    QPushButton* m_editContactButton = nullptr;
    QPushButton* m_deleteContactButton = nullptr;
};

} // namespace brindle
