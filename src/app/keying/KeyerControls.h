#pragma once

#include <QObject>
#include <QString>

#include <string>
#include <string_view>

namespace brindle {

struct ContestSession;

// The CW keyer as the main window's keys and close use it. The keyer owns the text still to be sent.
// What happens on the air comes back as signals, on the window's thread.
class CwKeyerControl : public QObject
{
    Q_OBJECT

public:
    ~CwKeyerControl() override = default;
    // The state the main window's keys and fields share with the keyer; given once, before any other
    // call.
    virtual void attach(ContestSession&)
    {
    }
    // Start-up: the keyer reads its settings.
    virtual void loadSettings()
    {
    }
    // Text is on the air or waiting to go.
    virtual bool isSending() const = 0;
    // Drops the text not yet sent; the character on the air is finished.
    virtual void clearBuffer() = 0;
    // The message of a function key (F1 … F12; F10 as the keyer's own code).
    virtual void sendMessage(int keyCode) = 0;
    virtual void speedUp() = 0;
    virtual void slowDown() = 0;
    // The speed as the CW keyer window shows it, in words per minute.
    virtual std::string speedText() const = 0;
    // Any key on the main window ends the repeating F1 message: what waits is dropped, the pause ends.
    virtual void stopRepeat() = 0;
    // Keyboard CW: a typed character joins the text to send.
    virtual void typeCharacter(char character) = 0;
    // Keyboard CW: Backspace takes back the last character not yet sent; false when there was none.
    virtual bool takeBackCharacter() = 0;

signals:
    // The log character of a message is on the air: the contact in the entry fields is to be logged.
    void logCharacterReached();
    // The text for the main window's message line: the rest of the message, with the display option.
    void unsentTextChanged(const QString& text);
    // Something the operator must know, for the message line.
    void noticeForOperator(const QString& text);
};

// The phone keyer as the main window's keys use it. What it must tell the operator comes back as a
// signal, on the window's thread.
class PhoneKeyerControl : public QObject
{
    Q_OBJECT

public:
    ~PhoneKeyerControl() override = default;
    // The state the main window's keys share with the keyer (whether F1 repeats); given once, first.
    virtual void attach(ContestSession&)
    {
    }
    // Start-up: the keyer reads its settings, before the CW keyer reads its own.
    virtual void loadSettings()
    {
    }
    // The recorded message of a function key (F1 … F9).
    virtual void playMessage(int keyCode) = 0;
    // A message is on the air.
    virtual bool isPlaying() const = 0;
    // Esc: the message ends now and PTT drops.
    virtual void stopPlaying() = 0;
    // Any key on the main window ends the repeating F1 message.
    virtual void stopRepeat() = 0;

signals:
    // Something the operator must know, for the message line.
    void noticeForOperator(const QString& text);
};

// Spoken names of fields and events, for an operator who cannot see the screen.
class VoicePrompts
{
public:
    virtual ~VoicePrompts() = default;
    // The state whose voice navigation level the prompts follow; given once, first.
    virtual void attach(ContestSession&)
    {
    }
    // Starts the prompt, cutting off whatever still plays, and returns at once.
    virtual void playPrompt(std::string_view name) = 0;
    // Plays the prompt once the one playing has ended, or at once when none plays.
    virtual void playPromptAfter(std::string_view name)
    {
        playPrompt(name);
    }
    // Something plays, or waits its turn.
    virtual bool isPlaying() const = 0;
    // That prompt plays, or waits its turn.
    virtual bool isPlaying(std::string_view name) const
    {
        (void)name;
        return isPlaying();
    }
};

// Until a keyer is set up there is nothing to send, play or speak: the keys do only their own part.
class NoCwKeyer : public CwKeyerControl
{
public:
    bool isSending() const override
    {
        return false;
    }
    void clearBuffer() override
    {
    }
    void sendMessage(int) override
    {
    }
    void speedUp() override
    {
    }
    void slowDown() override
    {
    }
    std::string speedText() const override
    {
        return {};
    }
    void stopRepeat() override
    {
    }
    void typeCharacter(char) override
    {
    }
    bool takeBackCharacter() override
    {
        return false;
    }
};

class NoPhoneKeyer final : public PhoneKeyerControl
{
public:
    void playMessage(int) override
    {
    }
    bool isPlaying() const override
    {
        return false;
    }
    void stopPlaying() override
    {
    }
    void stopRepeat() override
    {
    }
};

class SilentVoicePrompts final : public VoicePrompts
{
public:
    void playPrompt(std::string_view) override
    {
    }
    bool isPlaying() const override
    {
        return false;
    }
};

} // namespace brindle
