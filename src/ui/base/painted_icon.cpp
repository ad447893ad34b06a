#include "ui/base/painted_icon.h"
#include "ui/base/core_names.h"

#include <QApplication>
#include <QIconEngine>
#include <QPalette>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kovara::ui {

namespace {

class PaintedIconEngine : public QIconEngine {
public:
    explicit PaintedIconEngine(std::function<void(QPainter&)> paint) : paint_(std::move(paint)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        if (cache_.isNull()) {
            cache_ = QPixmap(16, 16);
            cache_.fill(Qt::transparent);
            QPainter painter(&cache_);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QApplication::palette().color(QPalette::ButtonText));
            paint_(painter);
        }
        QPixmap out = cache_.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode == QIcon::Disabled) {
            QPixmap grey(out.size());
            grey.fill(Qt::transparent);
            QPainter painter(&grey);
            painter.setOpacity(0.4);
            painter.drawPixmap(0, 0, out);
            return grey;
        }
        return out;
    }

    QIconEngine* clone() const override { return new PaintedIconEngine(paint_); }

private:
    std::function<void(QPainter&)> paint_;
    QPixmap cache_;
};

} // namespace

QIcon paintedIcon(std::function<void(QPainter&)> paint)
{
    return QIcon(new PaintedIconEngine(std::move(paint)));
}

namespace {

void paintToolBarPicture(QPainter& p, ToolBarPicture picture)
{
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
    switch (picture) {
    case ToolBarPicture::Home: {
        QPainterPath roof;
        roof.moveTo(1.5, 8);
        roof.lineTo(8, 1.5);
        roof.lineTo(14.5, 8);
        roof.closeSubpath();
        p.setBrush(QColor(0xb0, 0x3a, 0x2e));
        p.drawPath(roof);
        p.setBrush(QColor(0xf2, 0xe6, 0xc8));
        p.drawRect(QRectF(3.5, 8, 9, 6.5));
        p.setBrush(QColor(0x6b, 0x4a, 0x2b));
        p.drawRect(QRectF(7, 10.5, 2.5, 4));
        break;
    }
    case ToolBarPicture::Copy:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 1.5, 8, 10));
        p.setBrush(QColor(0xdd, 0xe8, 0xf8));
        p.drawRect(QRectF(6.5, 4.5, 8, 10));
        break;
    case ToolBarPicture::Print:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(0x90, 0x90, 0x90));
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
        break;
    case ToolBarPicture::Help: {
        p.setBrush(QColor(0x2a, 0x5d, 0xb0));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        // The question mark as strokes, not a glyph: a font drawn here would
        // be set up before the main window shows for this one character.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath mark;
        mark.moveTo(5.8, 6.2);
        mark.cubicTo(5.8, 3.6, 10.2, 3.6, 10.2, 6.0);
        mark.cubicTo(10.2, 7.6, 8.0, 7.8, 8.0, 9.6);
        p.drawPath(mark);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(8.0, 12.0), 1.05, 1.05);
        break;
    }
    case ToolBarPicture::Bible: // a closed book with a cross on its cover
        p.setBrush(QColor(0x5a, 0x2a, 0x1e));
        p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1, 1);
        p.setBrush(QColor(0xf2, 0xe6, 0xc8));
        p.drawRect(QRectF(3.5, 12.5, 10, 2));
        p.setPen(QPen(QColor(0xe8, 0xc4, 0x5a), 1.5));
        p.drawLine(QPointF(8, 3.5), QPointF(8, 10));
        p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 5.5));
        break;
    }
}

} // namespace

QIcon toolBarIcon(ToolBarPicture picture)
{
    return paintedIcon([picture](QPainter& painter) { paintToolBarPicture(painter, picture); });
}

} // namespace kovara::ui
