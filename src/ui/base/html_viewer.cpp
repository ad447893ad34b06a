#include "ui/base/html_viewer.h"
#include "ui/base/html_viewer_accessible.h"
#include "ui/base/core_names.h"

#include "ui/base/colors.h"
#include "ui/base/text_codec.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QScrollBar>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <QUrl>
#include <QPainter>
#include <QImage>
#include <QTextFrame>
#include <memory>

namespace kovara::ui {

namespace {
// Progress bars: "kovara-bar:<percent>". The picture is taller than the bar
// so that the line it sits on keeps a little space above and below it.
constexpr const char* kProgressBarScheme = "kovara-bar";
constexpr int kBarWidth = 240;
constexpr int kBarHeight = 5;
constexpr int kBarPictureHeight = 12;

QImage progressBarImage(int percent)
{
    QImage image(kBarWidth, kBarPictureHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const int top = (kBarPictureHeight - kBarHeight) / 2;
    const int done = kBarWidth * percent / 100;
    painter.fillRect(0, top, done, kBarHeight, QColor(0x3c, 0x8d, 0x40));
    painter.fillRect(done, top, kBarWidth - done, kBarHeight, QColor(0xcf, 0xcf, 0xcf));
    return image;
}
} // namespace

QString progressBarImageHtml(int percent)
{
    return QStringLiteral("<img src=\"%1:%2\" width=\"%3\" height=\"%4\">")
        .arg(QLatin1String(kProgressBarScheme))
        .arg(std::clamp(percent, 0, 100))
        .arg(kBarWidth)
        .arg(kBarPictureHeight);
}

QVariant HtmlViewer::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::ImageResource && name.scheme() == QLatin1String(kProgressBarScheme)) {
        bool ok = false;
        const int percent = name.path().toInt(&ok);
        if (ok)
            return progressBarImage(std::clamp(percent, 0, 100));
    }
    return QTextBrowser::loadResource(type, name);
}

HtmlViewer::HtmlViewer(QWidget* parent) : QTextBrowser(parent)
{
    // A screen reader reads the page's text without the marks tables leave
    // in it (see html_viewer_accessible.cpp).
    static const bool accessible = (QAccessible::installFactory(htmlViewerAccessible), true);
    Q_UNUSED(accessible);
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setUndoRedoEnabled(false);
    setSelectionEnabled(true);
    // Keyboard selection would otherwise show a text caret after a click, as
    // if the page could be typed into.
    setCursorWidth(0);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { emit linkClicked(url.toString()); });
}

void HtmlViewer::loadFromString(const QString& html)
{
    pageText_ = html;
    // A long page laid out without the scroll bar shows it, and the
    // narrower viewport then has the whole page laid out again (twice, as
    // setHtml empties the document first). With the bar shown through the
    // load, a long page is laid out once; the bar goes after it when the
    // page fits, and only a short page is laid out again.
    const Qt::ScrollBarPolicy policy = verticalScrollBarPolicy();
    const bool holdBar = policy == Qt::ScrollBarAsNeeded;
    if (holdBar)
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHtml(html);
    if (holdBar)
        setVerticalScrollBarPolicy(policy);
    moveCursor(QTextCursor::Start);
}

void HtmlViewer::loadFromBytes(const std::string& html)
{
    loadFromString(fromBytes(html));
}

void HtmlViewer::setDefaultFont(const QString& family, int pointSize)
{
    QFont font(family);
    if (pointSize > 0)
        font.setPointSize(pointSize);
    // The widget passes its font on to the document; setting both keeps them
    // in step even before the change event has run.
    setFont(font);
    document()->setDefaultFont(font);
}

void HtmlViewer::setPaletteColor(QPalette::ColorRole role, const QColor& color)
{
    QPalette p = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, role, color);
    setPalette(p);
}

void HtmlViewer::setPlainShaping(bool plain)
{
    QFont font = document()->defaultFont();
    const int strategy = font.styleStrategy();
    if (((strategy & QFont::PreferNoShaping) != 0) == plain)
        return;
    loadFromString(QString());
    font.setStyleStrategy(QFont::StyleStrategy(plain ? strategy | QFont::PreferNoShaping
                                                     : strategy & ~QFont::PreferNoShaping));
    font.setKerning(!plain);
    document()->setDefaultFont(font);
}

void HtmlViewer::setDefaultFontColor(const QColor& color)
{
    setPaletteColor(QPalette::Text, color);
}

void HtmlViewer::setDefaultBackground(const QColor& color)
{
    setPaletteColor(QPalette::Base, color);
}

void HtmlViewer::applyDisplayPreferences(const Preferences& prefs)
{
    setDefaultBackground(pageBackColor(prefs));
    setDefaultFont(fromBytes(prefs.textFontName), prefs.textFontSize);
    setDefaultFontColor(pageFontColor(prefs));
}

QString HtmlViewer::defaultFontName() const
{
    return document()->defaultFont().family();
}

int HtmlViewer::defaultFontSize() const
{
    return document()->defaultFont().pointSize();
}

QColor HtmlViewer::defaultFontColor() const
{
    return palette().color(QPalette::Active, QPalette::Text);
}

QColor HtmlViewer::defaultBackground() const
{
    return palette().color(QPalette::Active, QPalette::Base);
}

void HtmlViewer::setSelectionEnabled(bool enabled)
{
    selectionEnabled_ = enabled;
    Qt::TextInteractionFlags flags = Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard;
    if (enabled)
        flags |= Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard;
    else {
        QTextCursor c = textCursor();
        c.clearSelection();
        setTextCursor(c);
    }
    setTextInteractionFlags(flags);
}

int HtmlViewer::selectionLength() const
{
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void HtmlViewer::copySelection()
{
    if (selectionLength() > 0)
        copy(); // QTextEdit offers the selection as text/html and text/plain
}

QMimeData* HtmlViewer::createMimeDataFromSelection() const
{
    QMimeData* data = QTextBrowser::createMimeDataFromSelection();
    const QString caption = copyCaption_ ? copyCaption_() : QString();
    if (!data || caption.isEmpty())
        return data;
    auto* withCaption = new QMimeData;
    withCaption->setText(data->text() + QLatin1Char('\n') + caption);
    QString html = data->html();
    const QString line = QStringLiteral("<p>%1</p>").arg(caption.toHtmlEscaped());
    // Inside the copied fragment, where a program that pastes HTML takes it
    // from; else at the end of the body.
    qsizetype at = html.lastIndexOf(QStringLiteral("<!--EndFragment-->"));
    if (at < 0)
        at = html.lastIndexOf(QStringLiteral("</body>"), -1, Qt::CaseInsensitive);
    if (at >= 0)
        html.insert(at, line);
    else
        html += line;
    withCaption->setHtml(html);
    delete data;
    return withCaption;
}

void HtmlViewer::selectWholePage()
{
    selectAll();
}

namespace {

// The document laid out for printer the way QTextDocument::print lays out a
// document without a page size of its own: the printer's page, 2 cm margins
// measured at screen resolution.
std::unique_ptr<QTextDocument> printLayout(const QTextDocument& source, QPrinter& printer, const QString& heading)
{
    std::unique_ptr<QTextDocument> doc(source.clone());
    if (!heading.isEmpty()) {
        // The heading in a paragraph of its own above the text, centred, in
        // bold and a size larger.
        QTextCursor top(doc.get());
        top.insertBlock();
        top.movePosition(QTextCursor::Start);
        QTextBlockFormat centred = top.blockFormat();
        centred.setAlignment(Qt::AlignHCenter);
        top.setBlockFormat(centred);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        if (const qreal size = doc->defaultFont().pointSizeF(); size > 0)
            bold.setFontPointSize(size * 1.2);
        top.insertText(heading, bold);
    }
    doc->documentLayout()->setPaintDevice(&printer);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpiX = screen ? screen->logicalDotsPerInchX() : 96.0;
    const qreal dpiY = screen ? screen->logicalDotsPerInchY() : 96.0;
    QTextFrameFormat format = doc->rootFrame()->frameFormat();
    format.setLeftMargin(int((2 / 2.54) * dpiX));
    format.setRightMargin(int((2 / 2.54) * dpiX));
    format.setTopMargin(int((2 / 2.54) * dpiY));
    format.setBottomMargin(int((2 / 2.54) * dpiY));
    doc->rootFrame()->setFrameFormat(format);
    doc->setPageSize(QSizeF(printer.width(), printer.height()));
    return doc;
}

} // namespace

int HtmlViewer::pageCount(QPrinter& printer) const
{
    return std::max(1, printLayout(*document(), printer, printHeading_)->pageCount());
}

void HtmlViewer::printPages(QPrinter& printer, int fromPage, int toPage) const
{
    if (fromPage > 0 && toPage >= fromPage)
        printer.setFromTo(fromPage, toPage);
    else
        printer.setFromTo(0, 0);
    if (printHeading_.isEmpty()) {
        document()->print(&printer);
        return;
    }
    // Page by page as QTextDocument::print prints them (the text in black,
    // the page number at the bottom right), with the heading in the top
    // margin of each page after the first.
    const std::unique_ptr<QTextDocument> doc = printLayout(*document(), printer, printHeading_);
    QPainter painter(&printer);
    if (!painter.isActive())
        return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal scaleX = printer.logicalDpiX() / (screen ? screen->logicalDotsPerInchX() : 96.0);
    const qreal scaleY = printer.logicalDpiY() / (screen ? screen->logicalDotsPerInchY() : 96.0);
    const qreal marginX = doc->rootFrame()->frameFormat().leftMargin() * scaleX;
    const qreal marginY = doc->rootFrame()->frameFormat().topMargin() * scaleY;
    const QSizeF page = doc->pageSize();
    const int last = doc->pageCount();
    const int first = std::clamp(fromPage > 0 ? fromPage : 1, 1, last);
    const int end = toPage >= first ? std::min(toPage, last) : last;
    QFont headingFont(doc->defaultFont());
    headingFont.setBold(true);
    for (int index = first; index <= end; ++index) {
        if (index > first)
            printer.newPage();
        const QRectF view(0, (index - 1) * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        doc->documentLayout()->draw(&painter, context);
        painter.restore();
        painter.setPen(Qt::black);
        painter.setFont(doc->defaultFont());
        const QString number = QString::number(index);
        painter.drawText(QPointF(page.width() - marginX - painter.fontMetrics().horizontalAdvance(number),
                                 page.height() - marginY + painter.fontMetrics().ascent() +
                                     5 * printer.logicalDpiY() / 72.0),
                         number);
        if (index > 1) {
            painter.setFont(headingFont);
            painter.drawText(QRectF(marginX, 0, page.width() - 2 * marginX, marginY), Qt::AlignCenter, printHeading_);
        }
    }
}

void HtmlViewer::contextMenuEvent(QContextMenuEvent* event)
{
    if (contextActions_.isEmpty()) {
        QTextBrowser::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    menu.addActions(contextActions_);
    menu.exec(event->globalPos());
}

} // namespace kovara::ui
