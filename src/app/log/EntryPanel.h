#pragma once

#include "log/Entry.h"
#include "ui/DesignPanel.h"

#include <array>
#include <string>
#include <string_view>

class QLabel;
class QLineEdit;
class QPushButton;

namespace brindle {

class DupeChecker;
class KeyRouter;
class MessageLine;
class OperatorDialogs;
class VoicePrompts;
struct ContestSession;
struct CountryInfo;
struct MainWindowServices;

// The fields a contact is typed into, what each key does in each of them, and the country, bearing
// and distance of the call being entered.
class EntryPanel : public DesignPanel
{
    Q_OBJECT

public:
    EntryPanel(QWidget* canvas, ContestSession& session, MainWindowServices& services, KeyRouter& keys,
        DupeChecker& dupes, MessageLine& messages, VoicePrompts& prompts);

    // Held while the logging step moves the focus between fields: the checks see the fields as typed,
    // not as leaving the call field would complete them.
    class QuietFocus
    {
    public:
        explicit QuietFocus(EntryPanel& panel);
        ~QuietFocus();
        QuietFocus(const QuietFocus&) = delete;
        QuietFocus& operator=(const QuietFocus&) = delete;

    private:
        EntryPanel& m_panel;
        bool m_wasQuiet;
    };

    EntryFields fields() const;
    std::string postContestDateText() const;
    std::string postContestTimeText() const;
    void setPostContestDate(const std::string& date);
    void setPostContestTime(const std::string& time);
    void showPostContestFields(bool shown);

    void focusCall();
    // A spot's call in the call field, with the focus there.
    void putCall(const QString& call);
    // The same, and the call field then left as Tab leaves it: the duplicate check and the country run.
    void enterCallAndMoveOn(const QString& call);
    // The call field is not empty.
    bool hasCall() const;
    void focusField(EntryField field);
    // The section label of the grid puts its abbreviation in the section field.
    void setSection(const QString& abbreviation);
    // Reports are "599" in CW and "59" in phone.
    void setReportLength(std::string_view mode);
    void showCountryDetails(const CountryInfo* record);
    void showBearingAndDistance(double latitude, double longitude);
    void updateNewSectionMarker();
    // A new band: the "New" marker follows when a call is being entered.
    void followBand();
    // The duplicate check of the call field's call: an empty section gets the station's earlier one,
    // and a duplicate empties the entry and sends the operator back to the call field. True on a
    // duplicate.
    bool runDuplicateCheck();
    // Empties the five fields and the country details.
    void clearEntryFields();
    // Clear (also Alt+C and Esc): empties the entry and the message line, back to the call field.
    void clearEntry();

signals:
    // Enter in any field: the contact is to be logged.
    void enterPressed();
    // The call field got the focus; empty says whether a new call begins.
    void callFieldEntered(bool empty);
    void entryCleared();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class HandOverTarget
    {
        None,
        Country,
        Section,
        RstRcvd,
    };
    // A character one field's key handler hands on to another's; None between keys.
    struct HandOver
    {
        HandOverTarget target = HandOverTarget::None;
        int keyAscii = 0;
    };

    void buildFields();
    void routeKeys(KeyRouter& keys);
    void handleFieldFocus(QObject* field);
    void playFieldPrompt(std::string_view prompt);
    void prepareForNextCall();
    void showCountryOfCall();
    void completeCall();
    // Moves the focus from the call field to next, the call field's steps included.
    void leaveCallFor(QWidget* next);
    void handleCallKey(int& keyAscii);
    void handleRstRcvdKey(int& keyAscii);
    void handleSectionKey(int& keyAscii);
    void handleRstSentKey(int& keyAscii);
    void handleCountryKey(int& keyAscii);
    void handlePostContestKey(QLineEdit* field, int& keyAscii, const char* admitted);
    void proposeTodaysDate();
    // Enter logs the contact, from whichever field: true when the key was Enter.
    bool logOnEnter(int& keyAscii);

    ContestSession& m_session;
    MainWindowServices& m_services;
    DupeChecker& m_dupes;
    MessageLine& m_messages;
    VoicePrompts& m_prompts;
    HandOver m_handOver;
    bool m_quietFocus = false;
    // Set while the focus leaves the call field and its steps run.
    bool m_leavingCall = false;

    QLineEdit* m_callField = nullptr;
    QLineEdit* m_rstRcvdField = nullptr;
    QLineEdit* m_sectionField = nullptr;
    QLineEdit* m_rstSentField = nullptr;
    QLineEdit* m_countryField = nullptr;
    QLineEdit* m_postContestTimeField = nullptr;
    QLineEdit* m_postContestDateField = nullptr;
    QLabel* m_postContestTimeCaption = nullptr;
    QLabel* m_postContestDateCaption = nullptr;
    QPushButton* m_clearButton = nullptr;
    QLabel* m_continentLabel = nullptr;
    QLabel* m_bearingLabel = nullptr;
    QLabel* m_distanceLabel = nullptr;
    QLabel* m_newSectionMarker = nullptr;
};

} // namespace brindle
