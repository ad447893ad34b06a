#include "ui/base/text_zoom.h"

#include "core/app/preferences.h"
#include "ui/base/html_viewer.h"

#include <QAction>
#include <QApplication>
#include <QTextDocument>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <vector>

namespace kovara::ui {
namespace {

// Every zoomed view, so that a change shows in all of them at once.
std::vector<TextZoom*>& allZooms()
{
    static std::vector<TextZoom*> zooms;
    return zooms;
}

int clampedZoom(int percent)
{
    return std::clamp(percent, TextZoom::kSmallest, TextZoom::kLargest);
}

} // namespace

TextZoom::TextZoom(HtmlViewer* viewer, QWidget* keyOwner) : QObject(viewer), viewer_(viewer)
{
    allZooms().push_back(this);
    struct Key {
        const char* name;
        QList<QKeySequence> keys;
        void (TextZoom::*act)();
    };
    // Ctrl+= as well as Ctrl++, since plus is a shifted key on most layouts.
    const Key keys[] = {
        {"zoomInAction", {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}, &TextZoom::zoomIn},
        {"zoomOutAction", {QKeySequence::ZoomOut}, &TextZoom::zoomOut},
        {"zoomResetAction", {QKeySequence(Qt::CTRL | Qt::Key_0)}, &TextZoom::resetZoom},
    };
    for (const Key& key : keys) {
        auto* action = new QAction(keyOwner);
        action->setObjectName(QString::fromLatin1(key.name));
        action->setShortcuts(key.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        keyOwner->addAction(action);
        connect(action, &QAction::triggered, this, [this, act = key.act] { (this->*act)(); });
    }
    viewer_->viewport()->installEventFilter(this);
}

TextZoom::~TextZoom()
{
    std::erase(allZooms(), this);
}

int TextZoom::percent() const
{
    return prefs_ ? clampedZoom(prefs_->textZoom) : 100;
}

void TextZoom::apply(Preferences& prefs)
{
    prefs_ = &prefs;
    applyToViewer();
}

void TextZoom::applyToViewer()
{
    if (!prefs_)
        return;
    QFont font = viewer_->document()->defaultFont();
    const double base = prefs_->textFontSize > 0 ? prefs_->textFontSize : QApplication::font().pointSizeF();
    font.setPointSizeF(std::max(1.0, std::round(base * percent() / 10.0) / 10.0));
    viewer_->setFont(font);
    viewer_->document()->setDefaultFont(font);
}

void TextZoom::zoomTo(int percent)
{
    if (!prefs_)
        return;
    prefs_->textZoom = clampedZoom(percent);
    for (TextZoom* zoom : allZooms())
        if (zoom->prefs_ == prefs_)
            zoom->applyToViewer();
}

bool TextZoom::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl+wheel: the viewer's own zoom would be lost at the next page and
    // kept nowhere; this one is the same as the keys'.
    if (event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            // A touchpad sends small parts of a step; they add up.
            wheelTurned_ += wheel->angleDelta().y();
            const int steps = wheelTurned_ / 120;
            wheelTurned_ -= steps * 120;
            if (steps != 0)
                zoomTo(percent() + steps * kStep);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kovara::ui
