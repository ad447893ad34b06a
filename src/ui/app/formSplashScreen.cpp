#include "ui/app/formSplashScreen.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace kovara::ui {

namespace {
constexpr int kSize = 204;
}

TFormSplash::TFormSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setFixedSize(kSize, kSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center() - QPoint(kSize / 2, kSize / 2));
    }
}

void TFormSplash::paintEvent(QPaintEvent*)
{
    // The picture: an open book on a dawn-coloured ground, with the name.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kSize);
    sky.setColorAt(0, QColor(0x1f, 0x3b, 0x63));
    sky.setColorAt(1, QColor(0xf2, 0xb8, 0x6b));
    p.fillRect(rect(), sky);
    p.setPen(QPen(QColor(0x5a, 0x3a, 0x1a), 2));
    p.setBrush(QColor(0xfa, 0xf6, 0xea));
    const QPolygon left({QPoint(30, 120), QPoint(100, 110), QPoint(100, 160), QPoint(30, 168)});
    const QPolygon right({QPoint(104, 110), QPoint(174, 120), QPoint(174, 168), QPoint(104, 160)});
    p.drawPolygon(left);
    p.drawPolygon(right);
    QFont font = p.font();
    font.setPointSize(20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 28, kSize, 40), Qt::AlignCenter, QStringLiteral("Kovara 2"));
    font.setPointSize(9);
    font.setBold(false);
    p.setFont(font);
    p.drawText(QRect(0, 66, kSize, 24), Qt::AlignCenter, QStringLiteral("Daily devotions"));
    p.setPen(QColor(0x33, 0x33, 0x33));
    p.drawText(QRect(0, 176, kSize, 22), Qt::AlignCenter, QStringLiteral("Loading..."));
}

} // namespace kovara::ui
