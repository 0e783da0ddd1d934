#pragma once

#include <QChar>
#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace brindle {

class CwKeyer;
class KeyRouter;
class OperatorDialogs;

// "On the Air Code Practice": random groups, pasted or typed text, or characters typed one by one, sent
// at the keyer's speed, with what went on the air echoed below.
class CodePracticeDialog : public QDialog
{
    Q_OBJECT

public:
    CodePracticeDialog(CwKeyer& keyer, OperatorDialogs& dialogs, QWidget* parent = nullptr);

    // Closing, by Esc or the window's frame, stops the sending; it is refused while a character is
    // still on the air, so the key is never left to a window that is gone.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    void generateGroups();
    void pasteClipboard();
    void sendText();
    void sendNextCharacter();
    void stopSending();
    void sendTypedKey(int& keyAscii);
    void echo(QChar character);
    void speedUp();
    void slowDown();
    void showSpeed();

    CwKeyer& m_keyer;
    KeyRouter* m_keys = nullptr;
    QLabel* m_explanationCaption = nullptr;
    QPlainTextEdit* m_textToSendField = nullptr;
    QPlainTextEdit* m_textSentField = nullptr;
    QLineEdit* m_groupCountField = nullptr;
    QLineEdit* m_groupLengthField = nullptr;
    QRadioButton* m_lettersOnlyOption = nullptr;
    QRadioButton* m_allCharactersOption = nullptr;
    QLineEdit* m_keyboardField = nullptr;
    QLabel* m_speedLabel = nullptr;
    QPushButton* m_generateButton = nullptr;
    QPushButton* m_pasteButton = nullptr;
    QPushButton* m_sendButton = nullptr;
    QPushButton* m_stopButton = nullptr;
    QPushButton* m_clearToSendButton = nullptr;
    QPushButton* m_clearSentButton = nullptr;
    QPushButton* m_fasterButton = nullptr;
    QPushButton* m_slowerButton = nullptr;

    // Hands the text over one character at a time, each once the keyer has taken the one before, so
    // that edits to the text still to go take effect and Stop drops no more than one character.
    QTimer* m_sendTimer = nullptr;
    // Where in the text to send the next character stands.
    int m_nextPosition = 0;
    // Handed to the keyer, not yet taken by it: echoed once it is on the air.
    std::optional<QChar> m_handed;
};

} // namespace brindle
