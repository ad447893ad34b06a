// The HTML viewer wrapper: link clicks, defaults against a page's own markup,
// switching selection off, and printing a page range.
#include "ui/base/html_viewer.h"
#include "ui/base/core_names.h"

#include "fixtures.h"
#include "ui/base/colors.h"

#include <QFile>
#include <QGuiApplication>
#include <QPrinter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QImage>
#include <QUrl>
#include <memory>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

TEST(HtmlViewerTest, ColourValuesMapRedFromTheLowestByte)
{
    EXPECT_EQ(toQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(0xF0FBFF), QColor(0xFF, 0xFB, 0xF0));
    EXPECT_EQ(toQColor(static_cast<ColorValue>(0xFF000005)), QGuiApplication::palette().color(QPalette::Base));
}

TEST(HtmlViewerTest, LinkClicksCarryTheHrefAndDoNotNavigate)
{
    HtmlViewer viewer;
    viewer.loadFromString("<a href=\"koav2:ReadPlan/3\">plan</a>");
    QStringList clicked;
    QObject::connect(&viewer, &HtmlViewer::linkClicked, [&](const QString& href) { clicked << href; });
    emit viewer.anchorClicked(QUrl("koav2:ReadPlan/3"));
    emit viewer.anchorClicked(QUrl("koav2:FCtoday"));
    EXPECT_EQ(clicked, QStringList({"koav2:ReadPlan/3", "koav2:FCtoday"}));
    EXPECT_EQ(viewer.pageText(), "<a href=\"koav2:ReadPlan/3\">plan</a>");
    EXPECT_FALSE(viewer.isBackwardAvailable());
}

TEST(HtmlViewerTest, ThePagesOwnMarkupWinsOverTheDefaults)
{
    HtmlViewer viewer;
    viewer.setDefaultFont("Courier", 15);
    viewer.setDefaultFontColor(QColor(0, 0, 255));
    viewer.loadFromString("<p>plain</p><p><font face=\"Serif\" color=\"#ff0000\">own</font></p>");
    const QTextBlock plain = viewer.document()->firstBlock();
    const QTextCharFormat plainFormat = plain.begin().fragment().charFormat();
    EXPECT_FALSE(plainFormat.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(viewer.document()->defaultFont().family(), "Courier");
    EXPECT_EQ(viewer.document()->defaultFont().pointSize(), 15);
    const QTextCharFormat own = plain.next().begin().fragment().charFormat();
    EXPECT_EQ(own.foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(own.fontFamilies().toStringList().value(0), "Serif");
}

// The scroll bar is held through a load (so a long page is laid out once,
// at the width it is shown at): afterwards it shows exactly when the page is
// longer than the view, and the page fills the viewport's width.
TEST(HtmlViewerTest, TheScrollBarFollowsEachPageLoaded)
{
    HtmlViewer viewer;
    viewer.resize(300, 200);
    viewer.show();
    QString longPage;
    for (int i = 0; i < 60; ++i)
        longPage += QStringLiteral("<p>line %1 of a page longer than the view</p>").arg(i);
    const QString shortPage = QStringLiteral("<p>short</p>");
    for (const auto& [page, barShown] : {std::pair{shortPage, false}, std::pair{longPage, true},
                                        std::pair{longPage, true}, std::pair{shortPage, false},
                                        std::pair{QString(), false}, std::pair{longPage, true}}) {
        viewer.loadFromString(page);
        EXPECT_EQ(viewer.verticalScrollBar()->isVisible(), barShown) << page.size();
        EXPECT_EQ(viewer.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        EXPECT_EQ(static_cast<int>(viewer.document()->textWidth()), viewer.viewport()->width());
    }
}

// Plain shaping is set on the default font and empties the page, so no
// layout is made for the change; the default font a page gets turns it off.
TEST(HtmlViewerTest, PlainShapingIsAFontStrategy)
{
    HtmlViewer viewer;
    viewer.loadFromString(QStringLiteral("<p>text</p>"));
    viewer.setPlainShaping(true);
    EXPECT_TRUE(viewer.document()->defaultFont().styleStrategy() & QFont::PreferNoShaping);
    EXPECT_FALSE(viewer.document()->defaultFont().kerning());
    EXPECT_TRUE(viewer.pageText().isEmpty());
    viewer.loadFromString(QStringLiteral("<p>text</p>"));
    viewer.setPlainShaping(true); // already plain: the page stays
    EXPECT_FALSE(viewer.pageText().isEmpty());
    viewer.setDefaultFont(QStringLiteral("Serif"), 12);
    EXPECT_FALSE(viewer.document()->defaultFont().styleStrategy() & QFont::PreferNoShaping);
}

TEST(HtmlViewerTest, SelectionCanBeSwitchedOff)
{
    HtmlViewer viewer;
    viewer.loadFromString("<p>some text</p>");
    viewer.selectWholePage();
    EXPECT_EQ(viewer.selectionLength(), 9);
    viewer.setSelectionEnabled(false);
    EXPECT_EQ(viewer.selectionLength(), 0);
    EXPECT_FALSE(viewer.textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_TRUE(viewer.textInteractionFlags() & Qt::LinksAccessibleByMouse);
}

TEST(HtmlViewerTest, PrintsTheChosenPagesOnly)
{
    kovara::test::TempDir dir;
    QString longPage;
    for (int i = 0; i < 300; ++i)
        longPage += QString("<p>Paragraph %1 of a long page.</p>").arg(i);
    HtmlViewer viewer;
    viewer.loadFromString(longPage);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const auto pdfPages = [&](int from, int to) {
        const QString file = QString::fromStdString(dir.file("out.pdf"));
        printer.setOutputFileName(file);
        viewer.printPages(printer, from, to);
        QFile pdf(file);
        pdf.open(QIODevice::ReadOnly);
        return static_cast<int>(pdf.readAll().count("/Type /Page\n"));
    };
    const int pages = viewer.pageCount(printer);
    EXPECT_GE(pages, 3);
    EXPECT_EQ(pdfPages(0, 0), pages);
    EXPECT_EQ(pdfPages(2, 3), 2);

    viewer.loadFromString("<p>short</p>");
    EXPECT_EQ(viewer.pageCount(printer), 1);
}

// Progress bars are pictures the viewer draws: the shown page, the copy a
// printout lays out and out-of-range figures all get the bar.
TEST(HtmlViewerTest, ProgressBarsAreDrawnForThePageAndItsPrintout)
{
    HtmlViewer viewer;
    viewer.loadFromString("<p>Plan" + progressBarImageHtml(25) + "</p>");
    const auto barOf = [](QTextDocument& doc, const QString& address) {
        return doc.resource(QTextDocument::ImageResource, QUrl(address)).value<QImage>();
    };
    std::unique_ptr<QTextDocument> printCopy(viewer.document()->clone(viewer.document()));
    for (QTextDocument* doc : {viewer.document(), printCopy.get()}) {
        const QImage bar = barOf(*doc, "kovara-bar:25");
        ASSERT_FALSE(bar.isNull());
        EXPECT_EQ(bar.width(), 240);
        const int middle = bar.height() / 2;
        EXPECT_EQ(bar.pixelColor(59, middle), QColor(0x3c, 0x8d, 0x40)); // a quarter done
        EXPECT_EQ(bar.pixelColor(60, middle), QColor(0xcf, 0xcf, 0xcf));
        EXPECT_EQ(bar.pixelColor(0, 0).alpha(), 0); // space above the bar
    }
    EXPECT_TRUE(progressBarImageHtml(140).contains("kovara-bar:100"));
    EXPECT_TRUE(progressBarImageHtml(-3).contains("kovara-bar:0"));
    EXPECT_TRUE(barOf(*viewer.document(), "kovara-bar:x").isNull());
}

} // namespace
} // namespace kovara::ui
