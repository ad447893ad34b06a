#include "ui/base/painted_icon.h"
#include "ui/base/core_names.h"

#include <QApplication>
#include <QIconEngine>
#include <QPalette>
#include <QPainter>
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

} // namespace kovara::ui
