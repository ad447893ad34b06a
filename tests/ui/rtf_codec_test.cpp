#include "ui/prayer/rtf_codec.h"
#include "ui/base/core_names.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

// Readable failure messages for texts.
static void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace kovara::ui {
namespace {

// ---- a compact description of a document, for comparing what was read

QString alignName(Qt::Alignment a)
{
    a &= Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        return "center";
    if (a & Qt::AlignJustify)
        return "justify";
    if (a & (Qt::AlignRight | Qt::AlignTrailing))
        return "right";
    return "left";
}

QString listName(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDisc: return "disc";
    case QTextListFormat::ListDecimal: return "decimal";
    case QTextListFormat::ListLowerAlpha: return "alpha";
    case QTextListFormat::ListUpperRoman: return "ROMAN";
    default: return QString::number(style);
    }
}

QString attributes(const QTextCharFormat& fmt, const QFont& defaultFont)
{
    const QStringList families = fmt.fontFamilies().toStringList();
    QString out = families.isEmpty() ? defaultFont.family() : families.first();
    out += " " + QString::number(fmt.fontPointSize() > 0 ? fmt.fontPointSize() : defaultFont.pointSizeF());
    if (fmt.fontWeight() >= QFont::DemiBold)
        out += " b";
    if (fmt.fontItalic())
        out += " i";
    if (fmt.fontUnderline())
        out += " u";
    if (fmt.fontStrikeOut())
        out += " s";
    if (fmt.hasProperty(QTextFormat::ForegroundBrush))
        out += " " + fmt.foreground().color().name();
    if (fmt.hasProperty(QTextFormat::BackgroundBrush))
        out += " on " + fmt.background().color().name();
    return out;
}

// One line per paragraph: "P <align>[ list=<style>/<level>] | {attrs}text{attrs}text".
// Neighbouring pieces with the same attributes are joined.
QString describe(const QTextDocument& doc)
{
    QStringList lines;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QString line = "P " + alignName(block.blockFormat().alignment());
        if (QTextList* list = block.textList())
            line += QString(" list=%1/%2").arg(listName(list->format().style())).arg(list->format().indent());
        line += " | ";
        QString last;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString attrs = attributes(it.fragment().charFormat(), doc.defaultFont());
            if (attrs != last)
                line += "{" + attrs + "}";
            last = attrs;
            line += it.fragment().text().replace(QChar::LineSeparator, QStringLiteral("<br>"));
        }
        lines << line;
    }
    return lines.join('\n');
}

QString read(const QByteArray& rtf)
{
    QTextDocument doc;
    readRtf(rtf, doc);
    return describe(doc);
}

// ---- building documents for the round trips

struct Piece {
    QString text;
    QString family = "Arial";
    double size = 12;
    bool bold = false, italic = false, underline = false, strike = false;
    QColor colour;
    QColor background;
};

struct Para {
    std::vector<Piece> pieces;
    Qt::Alignment align = Qt::AlignLeft;
    QTextListFormat::Style list = QTextListFormat::ListStyleUndefined;
    int level = 1;
};

void build(QTextDocument& doc, const std::vector<Para>& paras)
{
    QTextCursor cursor(&doc);
    std::map<int, QTextList*> lists;
    for (std::size_t n = 0; n < paras.size(); ++n) {
        const Para& p = paras[n];
        QTextBlockFormat bf;
        bf.setAlignment(p.align);
        if (n == 0)
            cursor.setBlockFormat(bf);
        else
            cursor.insertBlock(bf);
        for (const Piece& piece : p.pieces) {
            QTextCharFormat fmt;
            fmt.setFontFamilies({piece.family});
            fmt.setFontPointSize(piece.size);
            if (piece.bold)
                fmt.setFontWeight(QFont::Bold);
            fmt.setFontItalic(piece.italic);
            fmt.setFontUnderline(piece.underline);
            fmt.setFontStrikeOut(piece.strike);
            if (piece.colour.isValid())
                fmt.setForeground(piece.colour);
            if (piece.background.isValid())
                fmt.setBackground(piece.background);
            cursor.insertText(piece.text, fmt);
        }
        if (p.list == QTextListFormat::ListStyleUndefined) {
            lists.clear();
            continue;
        }
        for (auto it = lists.begin(); it != lists.end();)
            it = it->first > p.level ? lists.erase(it) : std::next(it);
        if (lists.count(p.level) && lists[p.level]->format().style() == p.list) {
            lists[p.level]->add(cursor.block());
        } else {
            QTextListFormat lf;
            lf.setStyle(p.list);
            lf.setIndent(p.level);
            lists[p.level] = cursor.createList(lf);
        }
    }
}

Piece text(const QString& text)
{
    Piece p;
    p.text = text;
    return p;
}

TEST(RtfCodecTest, WhatWeWriteReadsBackTheSame)
{
    Piece bold = text("bold"), italic = text("italic"), under = text("under"), struck = text("struck");
    bold.bold = true;
    italic.italic = true;
    under.underline = true;
    struck.strike = true;
    Piece red = text("red Georgia 15.5"), all = text("everything");
    red.colour = QColor(200, 10, 30);
    red.family = "Georgia";
    red.size = 15.5;
    all.bold = all.italic = all.underline = all.strike = true;
    all.colour = QColor(0, 0, 255);
    all.background = QColor(255, 255, 0);
    Piece marked = text("highlighted"), sameColours = text("same colours");
    marked.background = QColor(0, 255, 0);
    sameColours.colour = QColor(200, 10, 30);
    sameColours.background = QColor(200, 10, 30);
    all.family = "DejaVu Serif";
    all.size = 8;

    auto para = [](std::vector<Piece> pieces, Qt::Alignment align = Qt::AlignLeft,
                   QTextListFormat::Style list = QTextListFormat::ListStyleUndefined, int level = 1) {
        Para p;
        p.pieces = std::move(pieces);
        p.align = align;
        p.list = list;
        p.level = level;
        return p;
    };
    const auto disc = QTextListFormat::ListDisc;
    const auto decimal = QTextListFormat::ListDecimal;

    const struct {
        const char* name;
        std::vector<Para> paras;
    } cases[] = {
        {"specials and characters beyond ASCII",
         {para({text("Back\\slash {braces}\ttab Gr\u00e2ce \u2014 \u6075\u307f \U0001F600 a\u00a0b")})}},
        {"character formatting",
         {para({text("plain "), bold, italic, under, struck, red, all, marked, sameColours})}},
        {"alignment",
         {para({text("left")}), para({text("centre")}, Qt::AlignHCenter), para({text("right")}, Qt::AlignRight),
          para({text("justified")}, Qt::AlignJustify)}},
        {"lists",
         {para({text("Before")}), para({bold}, Qt::AlignLeft, disc), para({text("two")}, Qt::AlignHCenter, disc),
          para({text("nested")}, Qt::AlignLeft, disc, 2), para({text("three")}, Qt::AlignLeft, disc),
          para({text("After")}), para({text("one")}, Qt::AlignLeft, decimal),
          para({text("two")}, Qt::AlignLeft, decimal), para({text("i")}, Qt::AlignLeft, QTextListFormat::ListUpperRoman)}},
        {"empty paragraphs and line breaks",
         {para({}), para({text("a\u2028b")}), para({}), para({text("end")}), para({})}},
    };
    for (const auto& c : cases) {
        QTextDocument original;
        build(original, c.paras);
        const QByteArray rtf = writeRtf(original);
        for (const char byte : rtf)
            ASSERT_LT(static_cast<unsigned char>(byte), 0x80) << c.name << ": the output is 7-bit";
        EXPECT_EQ(read(rtf), describe(original)) << c.name << "\n" << rtf.constData();
    }
}

// Pasted text brings the space above and below its paragraphs: it is kept
// through a save, a reopen and a second save.
TEST(RtfCodecTest, ParagraphSpacingIsKept)
{
    QTextDocument pasted;
    pasted.setHtml(QStringLiteral("<p style=\"margin-top:6px; margin-bottom:12px\">One</p>"
                                  "<p style=\"margin-top:0px; margin-bottom:18px\">Two</p>"
                                  "<p style=\"margin-top:0px; margin-bottom:0px\">Three</p>"));
    auto spacing = [](const QTextDocument& doc) {
        QStringList out;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            out << QStringLiteral("%1 %2/%3").arg(b.text()).arg(b.blockFormat().topMargin()).arg(b.blockFormat().bottomMargin());
        return out.join(u", ");
    };
    ASSERT_EQ(spacing(pasted), "One 6/12, Two 0/18, Three 0/0");
    const QByteArray saved = writeRtf(pasted);
    QTextDocument reopened;
    readRtf(saved, reopened);
    EXPECT_EQ(spacing(reopened), spacing(pasted)) << saved.constData();
    EXPECT_EQ(writeRtf(reopened), saved) << "the second save writes the same";
}

TEST(RtfCodecTest, ReadsRichEditControlDocuments)
{
    // As the Windows rich-edit control writes: \pn bullets carried over to
    // the next paragraph until \pard, \'hh in the document's code page.
    const QByteArray richEdit = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl"
                                "{\\f0\\fnil\\fcharset0 Calibri;}{\\f1\\fnil\\fcharset2 Symbol;}}\r\n"
                                "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
                                "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Caf\\'e9 list:\\par\r\n"
                                "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}"
                                "\\fi-360\\li720\\sa200\\sl276\\slmult1\\b Bread\\b0\\par\r\n"
                                "{\\pntext\\f1\\'B7\\tab}Wine \\'96 red\\par\r\n"
                                "\\pard\\sa200\\sl276\\slmult1\\qc\\strike Done\\strike0\\par\r\n}\r\n\0";
    EXPECT_EQ(read(richEdit), "P left | {Calibri 11}Caf\u00e9 list:\n"
                              "P left list=disc/1 | {Calibri 11 b}Bread\n"
                              "P left list=disc/1 | {Calibri 11}Wine \u2013 red\n"
                              "P center | {Calibri 11 s}Done");

    // The code page comes from \ansicpg, or from a font's character set.
    const struct {
        const char* name;
        QByteArray rtf;
        QString text;
    } pages[] = {
        {"1251", "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Arial;}}\\f0 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}",
         "\u041f\u0440\u0438\u0432\u0435\u0442"},
        {"1250", "{\\rtf1\\ansi\\ansicpg1250 \\'9e\\'e1k}", "\u017e\u00e1k"},
        {"1253", "{\\rtf1\\ansi\\ansicpg1253 \\'e1\\'e2}", "\u03b1\u03b2"},
        {"font charset 204 in a 1252 document",
         "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial CYR;}}"
         "\\f0 \\'e9 {\\f1 \\'e9}}",
         "\u00e9 \u0439"},
        {"raw 8-bit bytes", "{\\rtf1\\ansi Na\xefve}", "Na\u00efve"},
    };
    for (const auto& p : pages) {
        QTextDocument doc;
        readRtf(p.rtf, doc);
        EXPECT_EQ(doc.toPlainText(), p.text) << p.name;
    }
}

TEST(RtfCodecTest, ReadsWordProcessorDocuments)
{
    const QByteArray word =
        "{\\rtf1\\adeflang1025\\ansi\\ansicpg1252\\uc1\\adeff0\\deff0{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2"
        "{\\*\\panose 02020603050405020304}Times New Roman;}{\\f1\\fswiss\\fcharset0\\fprq2 Arial;}"
        "{\\f3\\fbidi \\froman\\fcharset2\\fprq2 Symbol;}}\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\n"
        "{\\stylesheet{\\ql \\f0\\fs24 Normal;}{\\*\\cs10 Default Paragraph Font;}}\n"
        "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc23\\leveltemplateid2{\\leveltext\\'01\\u-3913 ?;}"
        "{\\levelnumbers;}\\f3\\fi-360\\li720}{\\listname ;}\\listid100}"
        "{\\list\\listtemplateid2{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}\\listid200}}\n"
        "{\\*\\listoverridetable{\\listoverride\\listid100\\listoverridecount0\\ls1}"
        "{\\listoverride\\listid200\\listoverridecount0\\ls2}}\n"
        "{\\info{\\title Prayer}{\\author Someone}}\\paperw12240\\margl1440\\sectd\n"
        "\\pard\\plain\\ql\\f1\\fs24 Plain {\\cf2\\b Red bold} and {\\cf3\\i blue italic}"
        " {\\highlight2 marked}{\\cb3 shaded}{\\chcbpat2\\cf3 both}{\\highlight0 none}\\par\n"
        "\\pard\\plain\\qj\\f0\\fs28 \\u8220\\'93Quoted\\u8221\\'94 \\u-10179?\\u-8704? "
        "{\\uc2 caf\\u233\\'65\\'27!}{\\uc0\\u8212}\\par\n"
        "{\\listtext\\pard\\plain\\f3 \\'b7\\tab}\\pard\\plain\\ls1\\ilvl0\\f1\\fs24 First\\par\n"
        "{\\listtext\\pard\\plain 1.\\tab}\\pard\\plain\\ls2\\ilvl0\\f1\\fs24 Numbered\\par\n"
        "\\pard\\plain {\\field{\\*\\fldinst HYPERLINK \"http://example.org\"}{\\fldrslt {\\ul\\cf3 link}}}"
        "\\mysteryword42\\par\n"
        "}";
    EXPECT_EQ(read(word), "P left | {Arial 12}Plain {Arial 12 b #ff0000}Red bold{Arial 12} and "
                          "{Arial 12 i #0000ff}blue italic{Arial 12} {Arial 12 on #ff0000}marked"
                          "{Arial 12 on #0000ff}shaded{Arial 12 #0000ff on #ff0000}both{Arial 12}none\n"
                          "P justify | {Times New Roman 14}\u201cQuoted\u201d \U0001F600 caf\u00e9!\u2014\n"
                          "P left list=disc/1 | {Arial 12}First\n"
                          "P left list=decimal/1 | {Arial 12}Numbered\n"
                          "P left | {Times New Roman 12 u #0000ff}link");
}

TEST(RtfCodecTest, DamagedInputKeepsWhatCanBeRead)
{
    const struct {
        const char* name;
        QByteArray rtf;
        QString text;
    } cases[] = {
        {"cut off in the text", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 First para\\par Second para is cu",
         "First para\nSecond para is cu"},
        {"cut off in a control word", "{\\rtf1 Before\\par {\\b Bold\\par After\\stri", "Before\nBold\nAfter"},
        {"cut off in a hex character", "{\\rtf1 caf\\'e", "caf"},
        {"cut off in the font table", "{\\rtf1{\\fonttbl{\\f0 Ari", ""},
        {"extra closing braces", "{\\rtf1 {\\b Bold} text}} after {{\\i more", "Bold text after more"},
        {"unclosed groups", "{\\rtf1 {{{\\b deep {\\i deeper\\par next", "deep deeper\nnext"},
        {"unknown words and symbols", "{\\rtf1 a\\zzz12 b\\| c\\:d\\-e}", "ab cde"},
        {"fallback cut short by a brace", "{\\rtf1\\uc3 x\\u233{y}}", "x\u00e9y"},
    };
    for (const auto& c : cases) {
        QTextDocument doc;
        readRtf(c.rtf, doc);
        EXPECT_EQ(doc.toPlainText(), c.text) << c.name;
    }

    // Every cut of a real document reads without harm, and once the first
    // paragraph is complete it is always there in full.
    const QByteArray whole = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fnil Arial;}}{\\colortbl ;\\red9\\green8"
                             "\\blue7;}\\pard{\\*\\pn\\pnlvlblt{\\pntxtb\\'B7}}\\f0\\fs20\\cf1 One \\'cf\\u1088?\\par "
                             "\\pard\\qc{\\b Two}\\par}";
    QTextDocument full;
    readRtf(whole, full);
    ASSERT_EQ(full.toPlainText(), "One \u041f\u0440\nTwo");
    const qsizetype firstDone = whole.indexOf("\\par ") + 4;
    for (qsizetype n = 0; n <= whole.size(); ++n) {
        QTextDocument doc;
        readRtf(whole.left(n), doc);
        if (n >= firstDone) {
            EXPECT_TRUE(doc.toPlainText().startsWith("One \u041f\u0440")) << n;
        }
    }
}

TEST(RtfCodecTest, HostileNumbersAndNestingAreHarmless)
{
    QByteArray deep = "{\\rtf1 start";
    deep += QByteArray(100000, '{') + "inside" + QByteArray(5, '}') + " end";
    const struct {
        const char* name;
        QByteArray rtf;
        QString text;
    } cases[] = {
        {"deep nesting", deep, "startinside end"},
        {"huge binary length", "{\\rtf1 a\\bin99999999999999 bc}", "a"},
        {"huge sizes and indexes", "{\\rtf1 {\\fs99999999999\\f-2147483648\\cf77777\\ls99\\ilvl-5 a}\\uc999999 b}",
         "ab"},
        {"long control word", "{\\rtf1 x\\" + QByteArray(5000, 'q') + " y}", "xy"},
        {"unicode past 16 bits", "{\\rtf1 \\u99999999?z}", QString(QChar(static_cast<char16_t>(99999999 & 0xFFFF))) + "z"},
    };
    for (const auto& c : cases) {
        QTextDocument doc;
        readRtf(c.rtf, doc);
        EXPECT_EQ(doc.toPlainText(), c.text) << c.name;
    }
}

TEST(RtfCodecTest, ListLevelsOutsideTheRangeAreClamped)
{
    // \ilvl counts from 0; the levels shown are 1 to 9. The largest number a
    // control word can carry once overflowed when one was added to it.
    const struct {
        const char* ilvl;
        int indent;
    } cases[] = {
        {"-5", 1}, {"0", 1}, {"3", 4}, {"8", 9}, {"9", 9}, {"2147483647", 9}, {"99999999999", 9},
    };
    for (const auto& c : cases) {
        QTextDocument doc;
        readRtf(QByteArray("{\\rtf1\\pard\\ls1\\ilvl") + c.ilvl + " item\\par}", doc);
        QTextList* list = doc.begin().textList();
        ASSERT_NE(list, nullptr) << c.ilvl;
        EXPECT_EQ(list->format().indent(), c.indent) << c.ilvl;
        EXPECT_EQ(doc.toPlainText(), "item") << c.ilvl;
    }
}

TEST(RtfCodecTest, NotRtfIsPlainText)
{
    const struct {
        const char* name;
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"CR LF lines", "Line one\r\nLine two", "Line one\nLine two"},
        {"UTF-8", "Gr\xc3\xa2" "ce", "Gr\u00e2ce"},
        {"Windows-1252 bytes", "Caf\xe9 \x93quoted\x94", "Caf\u00e9 \u201cquoted\u201d"},
        {"braces but not RTF", "{not rtf} \\b", "{not rtf} \\b"},
    };
    for (const auto& c : cases) {
        QTextDocument doc;
        readRtf(c.bytes, doc);
        EXPECT_EQ(doc.toPlainText(), c.text) << c.name;
        EXPECT_FALSE(isRtf(c.bytes)) << c.name;
    }
    EXPECT_TRUE(isRtf("\r\n  {\\rtf1}"));
}

TEST(RtfCodecTest, PlainTextHasCrLfBreaks)
{
    QTextDocument doc;
    readRtf("{\\rtf1 one\\line two\\par three\\~four\\par}", doc);
    EXPECT_EQ(plainTextCrLf(doc), "one\r\ntwo\r\nthree four");
}

} // namespace
} // namespace kovara::ui
