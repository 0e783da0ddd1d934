#include "WindowScaling.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace brindle {

QRect designRect(int leftTwips, int topTwips, int widthTwips, int heightTwips)
{
    return QRect(leftTwips / TwipsPerDesignPixel, topTwips / TwipsPerDesignPixel, widthTwips / TwipsPerDesignPixel,
        heightTwips / TwipsPerDesignPixel);
}

ScreenGeometry screenGeometryOf(const QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return { screen->geometry().size(), screen->availableGeometry() };
}

void ScaleMainForm(QWidget&, const ScreenGeometry&)
{
}

void ScaleDialog(QWidget&, const ScreenGeometry&)
{
}

void scaleByScreenRule(QWidget&, const ScreenGeometry&, bool)
{
}

void scaleByWorkAreaRule(QWidget&, const ScreenGeometry&)
{
}

void fillWorkArea(QWidget& window, const ScreenGeometry& screen)
{
    window.setGeometry(screen.workArea);
}

} // namespace brindle
