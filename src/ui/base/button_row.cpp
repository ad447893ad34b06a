#include "ui/base/button_row.h"
#include "ui/base/core_names.h"

#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace kovara::ui {

ButtonRow::ButtonRow(QWidget* parent) : QLayout(parent) {}

ButtonRow::~ButtonRow()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void ButtonRow::addStretch(int)
{
    firstRight_ = static_cast<int>(items_.size());
}

void ButtonRow::addItem(QLayoutItem* item)
{
    items_.append(item);
}

int ButtonRow::count() const
{
    return static_cast<int>(items_.size());
}

QLayoutItem* ButtonRow::itemAt(int index) const
{
    return index >= 0 && index < items_.size() ? items_[index] : nullptr;
}

QLayoutItem* ButtonRow::takeAt(int index)
{
    if (index < 0 || index >= items_.size())
        return nullptr;
    if (index < firstRight_)
        --firstRight_;
    return items_.takeAt(index);
}

Qt::Orientations ButtonRow::expandingDirections() const
{
    return {};
}

bool ButtonRow::hasHeightForWidth() const
{
    return true;
}

int ButtonRow::heightForWidth(int width) const
{
    return arrange(QRect(0, 0, width, 0), false);
}

QSize ButtonRow::minimumSize() const
{
    // As narrow as the widest button, one button a line.
    QSize size;
    for (const QLayoutItem* item : items_)
        if (!item->isEmpty())
            size = size.expandedTo(item->sizeHint());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize ButtonRow::sizeHint() const
{
    // Every button on one line.
    int width = 0;
    int height = 0;
    int shown = 0;
    for (const QLayoutItem* item : items_) {
        if (item->isEmpty())
            continue;
        width += item->sizeHint().width();
        height = std::max(height, item->sizeHint().height());
        ++shown;
    }
    if (shown > 1)
        width += (shown - 1) * gap();
    const QMargins m = contentsMargins();
    return QSize(width + m.left() + m.right(), height + m.top() + m.bottom());
}

void ButtonRow::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int ButtonRow::gap() const
{
    if (spacing() >= 0)
        return spacing();
    const QWidget* parent = parentWidget();
    const int metric = parent ? parent->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, parent) : -1;
    return metric >= 0 ? metric : 6;
}

int ButtonRow::arrange(const QRect& rect, bool place) const
{
    const QRect room = rect.marginsRemoved(contentsMargins());
    const int space = gap();
    int top = room.top();
    int index = 0;
    const int n = static_cast<int>(items_.size());
    bool any = false;
    while (index < n) {
        // One line: as many of the remaining buttons as fit (at least one).
        int end = index;
        int width = 0;
        int height = 0;
        for (; end < n; ++end) {
            const QLayoutItem* item = items_[end];
            if (item->isEmpty())
                continue;
            const int w = std::min(item->sizeHint().width(), room.width());
            const int needed = width == 0 ? w : width + space + w;
            if (width > 0 && needed > room.width())
                break;
            width = needed;
            height = std::max(height, item->sizeHint().height());
        }
        if (width == 0) {
            index = end;
            continue; // only hidden buttons were left
        }
        if (any)
            top += space;
        any = true;
        if (place) {
            // The left-hand buttons from the left edge, the others so that
            // the last one ends at the right edge.
            int x = room.left();
            int rightWidth = 0;
            for (int i = index; i < end; ++i)
                if (!items_[i]->isEmpty() && i >= firstRight_)
                    rightWidth += (rightWidth ? space : 0) + std::min(items_[i]->sizeHint().width(), room.width());
            bool shifted = false;
            for (int i = index; i < end; ++i) {
                QLayoutItem* item = items_[i];
                if (item->isEmpty())
                    continue;
                if (i >= firstRight_ && !shifted) {
                    x = std::max(x, room.right() + 1 - rightWidth);
                    shifted = true;
                }
                const int w = std::min(item->sizeHint().width(), room.width());
                item->setGeometry(QRect(x, top, w, height));
                x += w + space;
            }
        }
        top += height;
        index = end;
    }
    const QMargins m = contentsMargins();
    return top - room.top() + m.top() + m.bottom();
}

} // namespace kovara::ui
