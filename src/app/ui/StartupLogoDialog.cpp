#include "StartupLogoDialog.h"

#include "common/FileSystem.h"
#include "common/ProgramTitle.h"
#include "common/QtText.h"
#include "station/UserFolders.h"
#include "ui/ClickableLabel.h"
#include "ui/WindowScaling.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTimer>

namespace brindle {

namespace {

constexpr int ShowSecondPictureMs = 1100;
constexpr int CloseMs = 1900;
constexpr int CloseWithSplashMs = 2700;

const QColor Navy(0x0d, 0x23, 0x42);
const QColor Blue(0x1c, 0x4d, 0x7a);
const QColor Amber(0xf2, 0xb1, 0x34);
const QColor Silver(0xc8, 0xd3, 0xde);
const QColor Paper(0xf4, 0xef, 0xe4);

QPixmap canvas(QSize size)
{
    const qreal ratio = qApp->devicePixelRatio();
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

// A beam seen from the side: mast, boom, and elements getting shorter towards the front, with the
// signal leaving the front in widening arcs.
void drawBeam(QPainter& p, QPointF boomStart, qreal boomLength)
{
    const qreal boomY = boomStart.y();
    p.setPen(QPen(Silver, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(boomStart.x() + boomLength * 0.4, boomY), QPointF(boomStart.x() + boomLength * 0.4, 168));
    p.setPen(QPen(Silver, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(boomStart, QPointF(boomStart.x() + boomLength, boomY));
    const qreal halfLengths[] = { 26, 23, 20, 18, 16 };
    for (int i = 0; i < 5; ++i) {
        const qreal x = boomStart.x() + 4 + i * (boomLength - 8) / 4;
        p.drawLine(QPointF(x, boomY - halfLengths[i]), QPointF(x, boomY + halfLengths[i]));
    }
    const QPointF front(boomStart.x() + boomLength + 4, boomY);
    for (int i = 1; i <= 3; ++i) {
        QColor wave = Amber;
        wave.setAlphaF(1.0 - 0.25 * i);
        p.setPen(QPen(wave, 2, Qt::SolidLine, Qt::RoundCap));
        const qreal r = 7.0 * i;
        p.drawArc(QRectF(front.x() - r, front.y() - r, 2 * r, 2 * r), -40 * 16, 80 * 16);
    }
}

// Dots and dashes of a Morse text such as "-.. -..-", a blank between letters.
qreal drawMorse(QPainter& p, QPointF start, const char* code, qreal unit)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Amber);
    qreal x = start.x();
    for (const char* c = code; *c; ++c) {
        if (*c == ' ') {
            x += 2 * unit;
            continue;
        }
        const qreal length = *c == '-' ? 3 * unit : unit;
        p.drawRoundedRect(QRectF(x, start.y() - unit / 2, length, unit), unit / 2, unit / 2);
        x += length + unit;
    }
    return x;
}

QPixmap firstPicture(QSize size)
{
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, Navy);
    sky.setColorAt(1, Blue);
    p.fillRect(QRect(QPoint(), size), sky);

    drawBeam(p, QPointF(28, 62), 76);

    QFont title(QStringLiteral("DejaVu Serif"));
    title.setBold(true);
    title.setPixelSize(36);
    p.setFont(title);
    const QFontMetrics metrics(title);
    const int left = 150;
    const int baseline = 82;
    p.setPen(Qt::white);
    p.drawText(left, baseline, QStringLiteral("Brindle "));
    p.setPen(Amber);
    p.drawText(left + metrics.horizontalAdvance(QStringLiteral("Brindle ")), baseline, QStringLiteral("DX"));

    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(11);
    p.setFont(subtitle);
    p.setPen(QColor(0xb8, 0xc7, 0xd9));
    p.drawText(left + 2, baseline + 20, QStringLiteral("Contest logger for the"));
    p.drawText(left + 2, baseline + 34, QStringLiteral("ARRL International DX Contest"));

    // "DX" in Morse under the name.
    drawMorse(p, QPointF(left + 2, baseline + 56), "-.. -..-", 5);

    p.fillRect(QRectF(0, size.height() - 3, size.width(), 3), Amber);
    return pixmap;
}

QPixmap secondPicture(QSize size)
{
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(QPoint(), size), Paper);

    QFont maker(QStringLiteral("DejaVu Sans"));
    maker.setBold(true);
    maker.setPixelSize(22);
    maker.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(maker);
    p.setPen(Navy);
    p.drawText(QRect(0, 10, size.width(), 32), Qt::AlignCenter, QStringLiteral("KORVA Software"));

    QFont name(QStringLiteral("DejaVu Sans"));
    name.setPixelSize(11);
    p.setFont(name);
    p.setPen(QColor(0x5a, 0x63, 0x70));
    p.drawText(QRect(0, 44, size.width(), 18), Qt::AlignCenter, toQString(ProgramName));
    return pixmap;
}

} // namespace

StartupLogoDialog::StartupLogoDialog(const std::string& makerFolder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("StartupLogoDialog"));
    const QRect window = designRect(0, 0, 6000, 3900);
    resize(window.size());

    m_firstPicture = new ClickableLabel(this);
    m_firstPicture->setObjectName(QStringLiteral("firstPicture"));
    m_firstPicture->setGeometry(designRect(0, 0, 6000, 2700));
    m_firstPicture->setPixmap(firstPicture(m_firstPicture->size()));
    connect(m_firstPicture, &ClickableLabel::clicked, this, &StartupLogoDialog::closeLogo);

    m_secondPicture = new QLabel(this);
    m_secondPicture->setObjectName(QStringLiteral("secondPicture"));
    m_secondPicture->setGeometry(designRect(0, 2700, 6000, 1200));
    m_secondPicture->setPixmap(secondPicture(m_secondPicture->size()));
    m_secondPicture->hide();

    m_closeTimer = new QTimer(this);
    m_closeTimer->setObjectName(QStringLiteral("closeTimer"));
    m_closeTimer->setInterval(CloseMs);
    connect(m_closeTimer, &QTimer::timeout, this, &StartupLogoDialog::closeLogo);
    m_secondPictureTimer = new QTimer(this);
    m_secondPictureTimer->setObjectName(QStringLiteral("secondPictureTimer"));
    m_secondPictureTimer->setInterval(ShowSecondPictureMs);
    connect(m_secondPictureTimer, &QTimer::timeout, this, &StartupLogoDialog::showSecondPicture);
    m_closeTimer->start();
    m_secondPictureTimer->start();

    placeOnScreen(screenGeometryOf(*this));

    if (loadSplashPicture(splashPicturePath(makerFolder))) {
        m_secondPictureTimer->stop();
        m_closeTimer->stop();
        m_closeTimer->setInterval(CloseWithSplashMs);
        m_closeTimer->start();
    }
}

std::string StartupLogoDialog::splashPicturePath(const std::string& makerFolder)
{
    return joinPath(joinPath(makerFolder, SharedFolderName), "splash.jpg");
}

bool StartupLogoDialog::loadSplashPicture(const std::string& path)
{
    const QString file = pathToQString(path);
    if (!QFileInfo(file).isFile()) {
        return false;
    }
    // A picture that cannot be read is treated as no picture: the built-in ones still show, rather than
    // an empty window.
    QImageReader reader(file);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        return false;
    }
    // The operator's picture takes the whole window, kept in proportion.
    m_firstPicture->setGeometry(rect());
    m_firstPicture->setAlignment(Qt::AlignCenter);
    m_firstPicture->setStyleSheet(QStringLiteral("background: black;"));
    const qreal ratio = qApp->devicePixelRatio();
    QPixmap fitted = QPixmap::fromImage(picture.scaled(size() * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    fitted.setDevicePixelRatio(ratio);
    m_firstPicture->setPixmap(fitted);
    m_splash = true;
    return true;
}

void StartupLogoDialog::placeOnScreen(const ScreenGeometry& screen)
{
    placeAboveCentre(*this, screen);
}

bool StartupLogoDialog::showsSplashPicture() const
{
    return m_splash;
}

void StartupLogoDialog::closeLogo()
{
    m_closeTimer->stop();
    m_secondPictureTimer->stop();
    accept();
}

void StartupLogoDialog::showSecondPicture()
{
    m_secondPictureTimer->stop();
    m_secondPicture->show();
}

} // namespace brindle
