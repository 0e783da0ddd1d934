#pragma once

#include "log/QsoRecord.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace brindle {

class ContestLog;
class CountryTable;
class KeyRouter;
class OperatorDialogs;

// Changes one record of the log: every field but the frequency. Done checks the date and time, refuses
// a change that would make the record a duplicate of another, and otherwise keeps the edited record for
// the main form to store. The log itself is left alone.
class frmEditCon : public QDialog
{
    Q_OBJECT

public:
    frmEditCon(const ContestLog& log, int editIndex, const CountryTable& countries, OperatorDialogs& dialogs,
        QWidget* parent = nullptr);

    // What Done accepted; nothing while Done has not succeeded.
    std::optional<QsoRecord> editedRecord() const;

    // Deletes the record of the main form's selected row, the main form asking first.
    void setDeleteDupe(std::function<void()> deleteDupe);

    void cmdDone_Click();
    void cmdDeleteDupe_Click();

    const int EditIndex; // the record being edited, 1 to the log's count

    QLabel* lblEditTitle = nullptr;
    QLineEdit* txtEditCall = nullptr;
    QLineEdit* txtEditCk = nullptr; // report received
    QLineEdit* txtEditSec = nullptr;
    QLineEdit* txtEditNum = nullptr; // report sent
    QLineEdit* txtEditPre = nullptr; // country
    QLineEdit* txtEditDate = nullptr;
    QLineEdit* txtEditTime = nullptr;
    QLineEdit* txtEditBnd = nullptr;
    QLabel* Label1 = nullptr; // "Dupe!"
    QLabel* Label2 = nullptr; // invalid section
    QLabel* Label3 = nullptr; // invalid band
    QPushButton* cmdDone = nullptr;
    QPushButton* cmdDeleteDupe = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    void routeKeys();
    void countryKeyPress(int& keyAscii);
    void fieldLeft(QLineEdit* field);
    bool requireDate();
    bool requireTime();
    void refuse(QLineEdit* field);

    const ContestLog& m_log;
    const QsoRecord m_original;
    const CountryTable& m_countries;
    OperatorDialogs& m_dialogs;
    KeyRouter* m_keys = nullptr;
    std::function<void()> m_deleteDupe;
    std::optional<QsoRecord> m_edited;
    bool m_checking = false;
};

} // namespace brindle
