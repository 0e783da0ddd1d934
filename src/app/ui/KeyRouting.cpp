#include "KeyRouting.h"

#include "common/KeyFilters.h"
#include "ui/KeyHold.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include <algorithm>

namespace brindle {

int shiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) | (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0)
        | (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

int virtualKeyCode(const QKeyEvent& event)
{
    const int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return key; // the letters' and digits' codes are their upper-case characters
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        return vk::F1 + (key - Qt::Key_F1);
    }
    switch (key) {
    case Qt::Key_Backspace:
        return vk::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return vk::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vk::Return;
    case Qt::Key_Shift:
        return vk::Shift;
    case Qt::Key_Control:
        return vk::Control;
    case Qt::Key_Alt:
        return vk::Menu;
    case Qt::Key_Escape:
        return vk::Escape;
    case Qt::Key_Space:
        return vk::Space;
    case Qt::Key_Left:
        return vk::Left;
    case Qt::Key_Up:
        return vk::Up;
    case Qt::Key_Right:
        return vk::Right;
    case Qt::Key_Down:
        return vk::Down;
    case Qt::Key_Delete:
        return vk::Delete;
    case Qt::Key_PageUp:
        return vk::Prior;
    case Qt::Key_PageDown:
        return vk::Next;
    case Qt::Key_End:
        return vk::End;
    case Qt::Key_Home:
        return vk::Home;
    case Qt::Key_Insert:
        return vk::Insert;
    case Qt::Key_Period:
        return 190;
    case Qt::Key_Comma:
        return 188;
    case Qt::Key_Minus:
        return 189;
    case Qt::Key_Slash:
        return 191;
    default:
        return 0;
    }
}

bool isOperatorFocusChange(const QEvent* event)
{
    const auto reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

void sendTabKeystroke(QWidget* from)
{
    QWidget* window = from->window();
    for (QWidget* next = from->nextInFocusChain(); next && next != from; next = next->nextInFocusChain()) {
        if (next->isVisibleTo(window) && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus)) {
            // Not as a Tab key: that would select the text a handed-on character has just begun.
            next->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

KeyRouter::KeyRouter(QObject* parent, KeyPreview* form)
    : QObject(parent)
    , m_form(form)
{
}

void KeyRouter::route(QLineEdit* field, KeyPressHandler keyPress, KeyDownHandler keyDown)
{
    m_routes.push_back({ field, field, std::move(keyPress), std::move(keyDown) });
    field->installEventFilter(this);
}

void KeyRouter::routeWithEnter(QLineEdit* field, std::function<void()> onEnter, KeyPressHandler keyPress)
{
    route(field, [onEnter = std::move(onEnter), keyPress = std::move(keyPress)](int& keyAscii) {
        if (keyAscii == KeyReturn) {
            keyAscii = 0;
            onEnter();
            return;
        }
        if (keyPress) {
            keyPress(keyAscii);
        }
    });
}

void KeyRouter::preview(QWidget* control)
{
    m_routes.push_back({ control, nullptr, {}, {} });
    control->installEventFilter(this);
}

void KeyRouter::previewFocusable(QWidget* root)
{
    for (QWidget* control : root->findChildren<QWidget*>()) {
        const bool routed = std::any_of(
            m_routes.begin(), m_routes.end(), [control](const Route& route) { return route.widget == control; });
        if (!routed && control->focusPolicy() != Qt::NoFocus && !control->isWindow()) {
            preview(control);
        }
    }
}

void KeyRouter::holdKeysWith(KeyHold& hold)
{
    m_hold = &hold;
}

bool KeyRouter::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) {
        return false;
    }
    const auto route
        = std::find_if(m_routes.begin(), m_routes.end(), [watched](const Route& r) { return r.widget == watched; });
    if (route == m_routes.end()) {
        return false;
    }
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (m_hold && m_hold->holdsKeys()) {
        // Claimed as no shortcut, so that the key comes as a key press and waits with the others.
        if (type == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        return m_hold->hold(route->widget, key);
    }
    return type == QEvent::KeyPress && deliver(*route, key);
}

bool KeyRouter::deliver(const Route& route, const QKeyEvent& event)
{
    // A key the handlers have no code for (Home, a punctuation mark) is theirs to ignore, never taken as
    // one they consumed.
    int keyCode = virtualKeyCode(event);
    const bool known = keyCode != 0;
    const int shift = shiftState(event.modifiers());
    const QString text = event.text();
    if (m_form) {
        m_form->previewKeyDown(keyCode, shift);
        if (known && keyCode == 0) {
            // The character of a consumed key still reaches the form, which may be waiting to drop it.
            if (text.size() == 1) {
                int keyAscii = text.at(0).unicode();
                m_form->previewKeyPress(keyAscii);
            } else {
                m_form->previewNoCharacter();
            }
            return true;
        }
        if (text.size() != 1) {
            m_form->previewNoCharacter();
        }
    }
    if (route.keyDown) {
        route.keyDown(keyCode, shift);
        if (known && keyCode == 0) {
            return true;
        }
    }

    // Tab moves the focus, and Delete edits the field: neither is a typed character for the handlers.
    if (text.size() != 1 || keyCode == vk::Tab || text.at(0).unicode() == 127) {
        return false;
    }
    const int original = text.at(0).unicode();
    if (original > 0xFF) {
        // Not for the handlers, which work in 8-bit text: the control refuses it itself.
        return false;
    }
    int keyAscii = original;
    if (m_form) {
        m_form->previewKeyPress(keyAscii);
    }
    if (keyAscii != 0 && route.keyPress) {
        route.keyPress(keyAscii);
    }
    if (keyAscii == 0) {
        return true;
    }
    if (!route.field) {
        return keyAscii == original ? false : true;
    }
    if (keyAscii < 32 || keyAscii == 127) {
        // Backspace, Enter and the like do what the field does with them.
        return keyAscii == original ? false : true;
    }
    route.field->insert(QString(QChar(keyAscii)));
    return true;
}

} // namespace brindle
