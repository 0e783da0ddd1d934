#include "AppearanceCommands.h"

#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "log/ContestSession.h"
#include "log/MainWindowServices.h"
#include "log/SessionController.h"
#include "ui/HelpDialog.h"
#include "ui/MultiplierColoursDialog.h"
#include "ui/Scaling.h"
#include "ui/WindowScaling.h"

#include <optional>

namespace brindle {

AppearanceCommands::AppearanceCommands(QWidget& window, ContestSession& session, MainWindowServices& services,
    SessionController& controller, QObject* parent)
    : QObject(parent)
    , m_window(window)
    , m_session(session)
    , m_services(services)
    , m_controller(controller)
{
}

void AppearanceCommands::applyFormSize(const ScreenGeometry& screen)
{
    brindle::applyFormSize(m_window, m_session.defaults.formSizePercent, screen);
    emit windowResized();
}

void AppearanceCommands::applyTaskbarOption()
{
    emit taskbarChecked(m_session.defaults.taskbarOption != 0);
    if (m_session.defaults.formSizePercent != 100) {
        return;
    }
    brindle::applyTaskbarOption(m_window, m_session.defaults.taskbarOption, screenGeometryOf(m_window));
}

void AppearanceCommands::askFormSize()
{
    const std::optional<QString> answer = m_services.dialogs.inputBox(QStringLiteral("Please enter screen percentage."),
        QStringLiteral("Enter the % of the screen you would like the form to cover.  Try between 90 and 100 for best "
                       "results.  Values below 75 do not display well."),
        QString::number(m_session.defaults.formSizePercent));
    const std::optional<int> percent = answer ? formSizeFromAnswer(toBytes(*answer)) : std::nullopt;
    if (!percent) {
        m_services.dialogs.message(
            QStringLiteral("Numeric Values Required"), QStringLiteral("Please enter only numeric values."));
        return;
    }
    m_session.defaults.formSizePercent = static_cast<std::uint8_t>(*percent);
    m_services.dialogs.message(QStringLiteral("For this setting to take effect please restart this program."),
        QStringLiteral("This program must be closed and restarted for this setting to take effect."));
    m_controller.saveDefaultData();
}

void AppearanceCommands::toggleTaskbar()
{
    if (m_session.defaults.formSizePercent != 100) {
        emit taskbarChecked(m_session.defaults.taskbarOption != 0);
        m_services.dialogs.message(QStringLiteral("Please set your form size to 100% to use this option."),
            QStringLiteral("The form size must be set to 100% to use the taskbar display option."));
        return;
    }
    m_session.defaults.taskbarOption = m_session.defaults.taskbarOption == 0 ? 1 : 0;
    m_controller.saveDefaultData();
    applyTaskbarOption();
}

void AppearanceCommands::chooseGridColours()
{
    {
        MultiplierColoursDialog colours(
            m_session.defaults.workedColour, m_session.defaults.remainingColour, m_services.dialogs, &m_window);
        m_services.dialogs.runModal(colours);
        m_session.defaults.workedColour = colours.worked();
        m_session.defaults.remainingColour = colours.remaining();
    }
    m_controller.saveDefaultData();
    m_controller.reloadLog();
}

void AppearanceCommands::showHelp()
{
    HelpDialog help(m_services.folders.workingDir, m_services.fs, &m_window);
    m_services.dialogs.runModal(help);
}

} // namespace brindle
