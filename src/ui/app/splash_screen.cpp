#include "ui/app/splash_screen.h"
#include "ui/base/core_names.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

namespace kovara::ui {

namespace {
constexpr int kSize = 204;
}

SplashScreen::SplashScreen() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setFixedSize(kSize, kSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center() - QPoint(kSize / 2, kSize / 2));
    }
}

void SplashScreen::paintEvent(QPaintEvent*)
{
    // The picture is a ready-made image: drawing its text at start-up would
    // load font engines before the main window needs them.
    QPainter p(this);
    p.drawPixmap(0, 0, QPixmap(QStringLiteral(":/splash.png")));
}

} // namespace kovara::ui
