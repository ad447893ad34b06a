#include "ui/base/html_viewer_accessible.h"

#include "ui/base/html_viewer.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace kovara::ui {
namespace {

// The viewer's text as a reader hears it. Qt's own interface for text views
// hands over the document's raw characters, where the start and end of each
// table, cell and frame are marked with U+FDD0 and U+FDD1, which a screen
// reader spells out. Here each mark reads as a line break instead: one
// character for one, so every offset still names the same place in the
// document as the viewer's cursor positions do.
class ViewerAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ViewerAccessible(HtmlViewer* viewer) : QAccessibleWidget(viewer, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = viewer()->selectionEnabled();
        return s;
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return text(0, characterCount());
        return QAccessibleWidget::text(kind);
    }

    QString text(int startOffset, int endOffset) const override
    {
        QTextCursor cursor = cursorAt(startOffset);
        cursor.setPosition(clamped(endOffset), QTextCursor::KeepAnchor);
        QString text = cursor.selectedText();
        for (QChar& c : text)
            if (c == QChar(0xFDD0) || c == QChar(0xFDD1))
                c = QLatin1Char('\n');
        return text;
    }

    int characterCount() const override
    {
        QTextCursor cursor(viewer()->document());
        cursor.movePosition(QTextCursor::End);
        return cursor.position();
    }

    int cursorPosition() const override { return viewer()->textCursor().position(); }
    void setCursorPosition(int position) override { viewer()->setTextCursor(cursorAt(position)); }

    int selectionCount() const override { return viewer()->textCursor().hasSelection() ? 1 : 0; }
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        const QTextCursor cursor = viewer()->textCursor();
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && cursor.hasSelection()) {
            *startOffset = cursor.selectionStart();
            *endOffset = cursor.selectionEnd();
        }
    }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex != 0 || !viewer()->selectionEnabled())
            return;
        QTextCursor cursor = cursorAt(startOffset);
        cursor.setPosition(clamped(endOffset), QTextCursor::KeepAnchor);
        viewer()->setTextCursor(cursor);
    }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex != 0)
            return;
        QTextCursor cursor = viewer()->textCursor();
        cursor.clearSelection();
        viewer()->setTextCursor(cursor);
    }

    QRect characterRect(int offset) const override
    {
        const QTextCursor cursor = cursorAt(offset);
        QRect rect = viewer()->cursorRect(cursor);
        const QString character = text(offset, offset + 1);
        rect.setWidth(character.isEmpty() ? 1 : QFontMetrics(cursor.charFormat().font()).horizontalAdvance(character));
        return QRect(viewer()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }

    int offsetAtPoint(const QPoint& point) const override
    {
        const QPoint inViewport = viewer()->viewport()->mapFromGlobal(point);
        if (!viewer()->viewport()->rect().contains(inViewport))
            return -1;
        return viewer()->cursorForPosition(inViewport).position();
    }

    void scrollToSubstring(int startIndex, int endIndex) override
    {
        // Scrolled so the start shows, with as much of the rest as fits;
        // the reader's selection stays as it is.
        const QRect start = viewer()->cursorRect(cursorAt(startIndex));
        const QRect end = viewer()->cursorRect(cursorAt(endIndex));
        QScrollBar* bar = viewer()->verticalScrollBar();
        const int height = viewer()->viewport()->height();
        if (start.top() < 0 || end.bottom() > height)
            bar->setValue(bar->value() + start.top() - qMax(0, qMin(height - (end.bottom() - start.top()), height / 3)));
    }

    QString attributes(int offset, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = offset;
        return QString();
    }

private:
    HtmlViewer* viewer() const { return static_cast<HtmlViewer*>(widget()); }
    int clamped(int offset) const { return qBound(0, offset, characterCount()); }
    QTextCursor cursorAt(int offset) const
    {
        QTextCursor cursor(viewer()->document());
        cursor.setPosition(clamped(offset));
        return cursor;
    }
};

} // namespace

QAccessibleInterface* htmlViewerAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(HtmlViewer::staticMetaObject.className()))
        if (auto* viewer = qobject_cast<HtmlViewer*>(object))
            return new ViewerAccessible(viewer);
    return nullptr;
}

} // namespace kovara::ui
