#pragma once

#include <QWidget>

#include <array>
#include <cstddef>

class QPushButton;

namespace brindle {

class ClickableLabel;
class CwKeyer;
class KeyPreview;
class KeyRouter;

// "CW Strings": the messages of the function keys to read while operating; a click on a line sends its
// message. Keys pressed here work as on the main window. Done only minimises it.
class CwMessagesWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr std::size_t LineCount = 12; // F1 … F12

    // keys: the main window's key preview.
    CwMessagesWindow(CwKeyer& keyer, KeyPreview& keys, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The messages as the keyer has them now.
    void showMessages();
    void sendMessageOfLine(std::size_t index);

    CwKeyer& m_keyer;
    KeyRouter* m_keys = nullptr;
    std::array<ClickableLabel*, LineCount> m_keyCaptions {};
    std::array<ClickableLabel*, LineCount> m_messageLabels {};
    QPushButton* m_doneButton = nullptr;
};

} // namespace brindle
