#include "CodePracticeDialog.h"

#include "common/KeyFilters.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "keying/CwKeyer.h"
#include "keying/CwMessages.h"
#include "ui/CommandButton.h"
#include "ui/KeyRouting.h"
#include "ui/StorableText.h"
#include "ui/WindowScaling.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace brindle {

namespace {

// How often the sending looks whether the keyer has taken the last character: well inside the
// shortest character there is, an E at 100 WPM (48 ms).
constexpr int SendTickMs = 5;

// More would take hours to send, and long to show.
constexpr double MaxGroups = 1000;
constexpr double MaxGroupLength = 100;

QPlainTextEdit* textField(QWidget* parent, const char* name)
{
    auto* field = new QPlainTextEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    // Groups line up in columns, as they are copied on paper.
    field->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    field->setTabChangesFocus(true);
    return field;
}

QLineEdit* numberField(QWidget* parent, const char* name, const char* text)
{
    auto* field = new QLineEdit(QString::fromLatin1(text), parent);
    field->setObjectName(QString::fromLatin1(name));
    // A count of a few digits needs no more than the field's usual width.
    field->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return field;
}

// The whole number of a field, or the fallback it then shows.
int countIn(QLineEdit* field, const char* fallback, double most)
{
    std::optional<double> value = parseDecimal(trimBlanks(bytesIn(field)));
    if (!value) {
        field->setText(QString::fromLatin1(fallback));
        value = parseDecimal(fallback);
    }
    return static_cast<int>(std::clamp(std::floor(*value), 0.0, most));
}

} // namespace

CodePracticeDialog::CodePracticeDialog(CwKeyer& keyer, OperatorDialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_keyer(keyer)
{
    setObjectName(QStringLiteral("CodePracticeDialog"));
    setWindowTitle(QStringLiteral("On the Air Code Practice"));
    resize(designRect(0, 0, 9000, 6600).size());
    buildForm();
    m_sendTimer = new QTimer(this);
    m_sendTimer->setInterval(SendTickMs);
    connect(m_sendTimer, &QTimer::timeout, this, &CodePracticeDialog::sendNextCharacter);
    showSpeed();
    refuseUnstorableText(*this, dialogs);
    scaleByWorkAreaRule(*this, screenGeometryOf(*this));
}

void CodePracticeDialog::buildForm()
{
    auto* layout = new QVBoxLayout(this);
    m_explanationCaption = new QLabel(
        QStringLiteral("You can transmit morse code practice using randomly generated characters, copying and pasting "
                       "text or typing text into the \"Text to Send\" text box.  Click Send to send the characters. "),
        this);
    m_explanationCaption->setObjectName(QStringLiteral("explanationCaption"));
    m_explanationCaption->setWordWrap(true);
    layout->addWidget(m_explanationCaption);

    // Each text with its caption and the command that empties it.
    const auto textRow = [this, layout](const char* caption, QPlainTextEdit* field, QPushButton* clear) {
        auto* heading = new QHBoxLayout;
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setBuddy(field);
        heading->addWidget(label);
        heading->addStretch();
        heading->addWidget(clear);
        layout->addLayout(heading);
        layout->addWidget(field, 1);
    };
    m_textToSendField = textField(this, "textToSendField");
    m_clearToSendButton = commandButton(this, "clearToSendButton", "&Clear");
    textRow(" Text to Send", m_textToSendField, m_clearToSendButton);
    m_textSentField = textField(this, "textSentField");
    // Only what went on the air stands here.
    m_textSentField->setReadOnly(true);
    m_clearSentButton = commandButton(this, "clearSentButton", "Cl&ear");
    textRow(" Text Sent", m_textSentField, m_clearSentButton);

    auto* groups = new QHBoxLayout;
    m_groupCountField = numberField(this, "groupCountField", "10");
    m_groupLengthField = numberField(this, "groupLengthField", "5");
    auto* generateCaption = new QLabel(QStringLiteral("Generate"), this);
    generateCaption->setBuddy(m_groupCountField);
    groups->addWidget(generateCaption);
    groups->addWidget(m_groupCountField);
    groups->addWidget(new QLabel(QStringLiteral("groups of"), this));
    groups->addWidget(m_groupLengthField);
    groups->addWidget(new QLabel(QStringLiteral("characters each."), this));
    auto* include = new QGroupBox(QStringLiteral("Include:"), this);
    include->setObjectName(QStringLiteral("includeFrame"));
    auto* includeOptions = new QHBoxLayout(include);
    m_lettersOnlyOption = new QRadioButton(QStringLiteral("Letters Only"), include);
    m_lettersOnlyOption->setObjectName(QStringLiteral("lettersOnlyOption"));
    m_allCharactersOption = new QRadioButton(QStringLiteral("All"), include);
    m_allCharactersOption->setObjectName(QStringLiteral("allCharactersOption"));
    m_allCharactersOption->setChecked(true);
    includeOptions->addWidget(m_lettersOnlyOption);
    includeOptions->addWidget(m_allCharactersOption);
    groups->addWidget(include);
    groups->addStretch();
    layout->addLayout(groups);

    auto* commands = new QHBoxLayout;
    m_generateButton = commandButton(this, "generateButton", "&Generate Random Characters");
    m_pasteButton = commandButton(this, "pasteButton", "&Paste from Clipboard");
    m_sendButton = commandButton(this, "sendButton", "&Send");
    m_stopButton = commandButton(this, "stopButton", "S&top");
    commands->addWidget(m_generateButton);
    commands->addWidget(m_pasteButton);
    commands->addStretch();
    commands->addWidget(m_sendButton);
    commands->addWidget(m_stopButton);
    layout->addLayout(commands);

    auto* keyboard = new QHBoxLayout;
    m_keyboardField = new QLineEdit(this);
    m_keyboardField->setObjectName(QStringLiteral("keyboardField"));
    auto* keyboardCaption = new QLabel(QStringLiteral("Type characters here to send text from keyboard:"), this);
    keyboardCaption->setBuddy(m_keyboardField);
    keyboard->addWidget(keyboardCaption);
    keyboard->addWidget(m_keyboardField, 1);
    layout->addLayout(keyboard);

    auto* speed = new QHBoxLayout;
    m_fasterButton = commandButton(this, "fasterButton", "&Faster");
    m_slowerButton = commandButton(this, "slowerButton", "S&lower");
    m_speedLabel = new QLabel(this);
    m_speedLabel->setObjectName(QStringLiteral("speedLabel"));
    speed->addWidget(m_fasterButton);
    speed->addWidget(m_slowerButton);
    speed->addWidget(m_speedLabel);
    speed->addWidget(new QLabel(QStringLiteral("WPM"), this));
    speed->addStretch();
    layout->addLayout(speed);

    connect(m_generateButton, &QPushButton::clicked, this, &CodePracticeDialog::generateGroups);
    connect(m_pasteButton, &QPushButton::clicked, this, &CodePracticeDialog::pasteClipboard);
    connect(m_sendButton, &QPushButton::clicked, this, &CodePracticeDialog::sendText);
    connect(m_stopButton, &QPushButton::clicked, this, &CodePracticeDialog::stopSending);
    connect(m_clearToSendButton, &QPushButton::clicked, m_textToSendField, &QPlainTextEdit::clear);
    connect(m_clearSentButton, &QPushButton::clicked, m_textSentField, &QPlainTextEdit::clear);
    connect(m_fasterButton, &QPushButton::clicked, this, &CodePracticeDialog::speedUp);
    connect(m_slowerButton, &QPushButton::clicked, this, &CodePracticeDialog::slowDown);

    m_keys = new KeyRouter(this);
    m_keys->route(m_keyboardField, [this](int& keyAscii) { sendTypedKey(keyAscii); });
    m_textToSendField->installEventFilter(this);
}

bool CodePracticeDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Letters typed into the text to send are capitals, as they go on the air.
    if (watched == m_textToSendField && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const QString typed = key->text();
        if (typed.size() == 1 && typed.at(0).unicode() < 0x80) {
            const int capital = upperCaseLetter(typed.at(0).unicode());
            if (capital != typed.at(0).unicode()) {
                m_textToSendField->insertPlainText(QString(QChar(capital)));
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CodePracticeDialog::generateGroups()
{
    const int groups = countIn(m_groupCountField, "10", MaxGroups);
    const int length = countIn(m_groupLengthField, "5", MaxGroupLength);
    const std::string text = randomGroups(
        groups, length, m_lettersOnlyOption->isChecked(), [] { return QRandomGenerator::global()->generateDouble(); });
    m_textToSendField->setPlainText(toQString(text));
}

void CodePracticeDialog::pasteClipboard()
{
    m_textToSendField->setPlainText(QGuiApplication::clipboard()->text());
}

void CodePracticeDialog::sendText()
{
    m_nextPosition = 0;
    m_textToSendField->setFocus();
    m_sendTimer->start();
    sendNextCharacter();
}

void CodePracticeDialog::sendNextCharacter()
{
    // A message about the keyer (a port that cannot be opened) ends the practice: there is something to
    // set right first, and the next character would only bring the message back.
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != this) {
        stopSending();
        return;
    }
    if (m_keyer.hasWaitingText()) {
        return;
    }
    if (m_handed) {
        echo(*m_handed);
        m_handed.reset();
    }
    // Read afresh each time: what the operator changes ahead of the sending is sent as it now stands.
    const QString text = m_textToSendField->toPlainText();
    if (m_nextPosition >= text.size()) {
        m_sendTimer->stop();
        return;
    }
    const QChar character = text.at(m_nextPosition++);
    // A character the program's text cannot hold has no code either: it goes by without keying.
    if (character.unicode() <= 0xFF) {
        m_keyer.appendText(toBytes(QString(character)));
    }
    m_handed = character;
    QTextCursor cursor = m_textToSendField->textCursor();
    cursor.setPosition(m_nextPosition);
    m_textToSendField->setTextCursor(cursor);
}

void CodePracticeDialog::stopSending()
{
    m_sendTimer->stop();
    // The character the keyer has taken is on the air and stays in the echo; one it has not yet taken
    // goes with the rest.
    if (m_handed && !m_keyer.hasWaitingText()) {
        echo(*m_handed);
    }
    m_handed.reset();
    m_keyer.clearBuffer();
}

void CodePracticeDialog::reject()
{
    stopSending();
    if (m_keyer.isSending()) {
        return;
    }
    QDialog::reject();
}

void CodePracticeDialog::sendTypedKey(int& keyAscii)
{
    if (keyAscii == KeyBackspace) {
        m_keyer.takeBackCharacter();
        QTextCursor last(m_textSentField->document());
        last.movePosition(QTextCursor::End);
        last.deletePreviousChar();
    } else if (keyAscii >= KeySpace && keyAscii != 127) {
        const auto character = static_cast<char>(upperCaseLetter(keyAscii));
        echo(QChar::fromLatin1(character));
        m_keyer.typeCharacter(character);
    }
    // The field stays empty: what is typed is on its way to the air.
    keyAscii = 0;
}

void CodePracticeDialog::echo(QChar character)
{
    QTextCursor end(m_textSentField->document());
    end.movePosition(QTextCursor::End);
    end.insertText(QString(character));
    m_textSentField->setTextCursor(end);
    m_textSentField->ensureCursorVisible();
}

void CodePracticeDialog::speedUp()
{
    m_keyer.speedUp();
    showSpeed();
}

void CodePracticeDialog::slowDown()
{
    m_keyer.slowDown();
    showSpeed();
}

void CodePracticeDialog::showSpeed()
{
    m_speedLabel->setText(toQString(m_keyer.speedText()));
}

} // namespace brindle
