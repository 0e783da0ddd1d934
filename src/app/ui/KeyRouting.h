#pragma once

#include <QObject>

#include <functional>
#include <vector>

class QKeyEvent;
class QLineEdit;
class QWidget;

namespace brindle {

class KeyHold;

// Virtual key codes as the form handlers use them: F1 = 112 … F12 = 123, Up = 38, Down = 40.
namespace vk {
inline constexpr int Back = 8;
inline constexpr int Tab = 9;
inline constexpr int Return = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Menu = 18;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int Prior = 33; // Page Up
inline constexpr int Next = 34; // Page Down
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int F1 = 112;
inline constexpr int F12 = 123;
} // namespace vk

// Shift state bits of a key-down: 1 Shift, 2 Ctrl, 4 Alt.
int shiftState(Qt::KeyboardModifiers modifiers);
int virtualKeyCode(const QKeyEvent& event);

// Moves the focus on from a field as a typed Tab would: to the next visible, enabled field in the
// window's tab order.
void sendTabKeystroke(QWidget* from);

// Whether a focus event is the operator moving between fields. Switching to another window and back, or
// a message box popping up, neither leaves nor enters a field.
bool isOperatorFocusChange(const QEvent* event);

// A window whose form sees every key before the field that has the focus.
class KeyPreview
{
public:
    virtual ~KeyPreview() = default;
    // Set keyCode to 0 to consume the key.
    virtual void previewKeyDown(int& keyCode, int shift) = 0;
    // Set keyAscii to 0 to drop the character, or change it.
    virtual void previewKeyPress(int& keyAscii) = 0;
    // A key went by that produces no character (an arrow, Ctrl+F1): no character is coming to be dropped.
    virtual void previewNoCharacter()
    {
    }
};

// Delivers each key typed into a routed field the way the form handlers expect it: key-down to the form,
// then to the field; then, for a key that produces a character, key-press to the form and to the field,
// each of which may change or drop the character. A printable character that survives is inserted at
// the cursor, replacing the selection and honouring the field's length limit; control characters that
// survive (Backspace, Enter, Esc) get the field's usual handling.
class KeyRouter : public QObject
{
    Q_OBJECT

public:
    using KeyDownHandler = std::function<void(int& keyCode, int shift)>;
    using KeyPressHandler = std::function<void(int& keyAscii)>;

    explicit KeyRouter(QObject* parent, KeyPreview* form = nullptr);

    void route(QLineEdit* field, KeyPressHandler keyPress = {}, KeyDownHandler keyDown = {});
    // A dialog's field where Enter is a click on its default command; other keys go to keyPress.
    void routeWithEnter(QLineEdit* field, std::function<void()> onEnter, KeyPressHandler keyPress = {});
    // A control that is no text field (a button, a list): the form sees its keys first all the same.
    void preview(QWidget* control);
    // While hold holds keys, every key typed into a routed or previewed control waits in it, shortcuts
    // included, to be handed on in order later.
    void holdKeysWith(KeyHold& hold);
    // Every control under root that can take the focus and is not routed yet: a panel built later
    // needs no list of its controls kept by hand.
    void previewFocusable(QWidget* root);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Route
    {
        QWidget* widget;
        QLineEdit* field; // nothing for a control previewed only
        KeyPressHandler keyPress;
        KeyDownHandler keyDown;
    };

    bool deliver(const Route& route, const QKeyEvent& event);

    KeyPreview* m_form;
    KeyHold* m_hold = nullptr;
    std::vector<Route> m_routes;
};

} // namespace brindle
