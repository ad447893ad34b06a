#pragma once
// What a screen reader is told of an HtmlViewer's text.
class QAccessibleInterface;
class QObject;
class QString;

namespace kovara::ui {

// The accessibility factory that answers for HtmlViewer (and classes made
// from it); every other class is left to Qt. Installed once by the first
// viewer made.
QAccessibleInterface* htmlViewerAccessible(const QString& className, QObject* object);

} // namespace kovara::ui
