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
// the main window to store. The log itself is left alone.
class ContactEditorDialog : public QDialog
{
    Q_OBJECT

public:
    ContactEditorDialog(const ContestLog& log, int recordNumber, const CountryTable& countries,
        OperatorDialogs& dialogs, QWidget* parent = nullptr);

    // The record being edited, 1 to the log's count.
    int recordNumber() const;

    // What Done accepted; nothing while Done has not succeeded.
    std::optional<QsoRecord> editedRecord() const;

    // Deletes the record of the main window's selected row, the main window asking first.
    void setDeleteDupe(std::function<void()> deleteDupe);

    void acceptEdit();
    void deleteEditedContact();

    QLabel* m_headingCaption = nullptr;
    QLineEdit* m_callField = nullptr;
    QLineEdit* m_rstRcvdField = nullptr;
    QLineEdit* m_sectionField = nullptr;
    QLineEdit* m_rstSentField = nullptr;
    QLineEdit* m_countryField = nullptr;
    QLineEdit* m_dateField = nullptr;
    QLineEdit* m_timeField = nullptr;
    QLineEdit* m_bandField = nullptr;
    QLabel* m_dupeMarker = nullptr; // "Dupe!"
    QLabel* m_invalidSectionMarker = nullptr;
    QLabel* m_invalidBandMarker = nullptr;
    QPushButton* m_doneButton = nullptr;
    QPushButton* m_deleteDupeButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    void routeKeys();
    void handleCountryKey(int& keyAscii);
    void checkLeftField(QLineEdit* field);
    bool requireDate();
    bool requireTime();
    void refuse(QLineEdit* field);

    const int m_recordNumber;
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
