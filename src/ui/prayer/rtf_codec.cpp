#include "ui/prayer/rtf_codec.h"
#include "ui/base/core_names.h"

#include "ui/base/text_codec.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QStringDecoder>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace kovara::ui {

namespace {

// ---------------------------------------------------------------- writing

bool isBulletStyle(QTextListFormat::Style style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
           style == QTextListFormat::ListSquare;
}

// Text as RTF: specials escaped, non-ASCII as \uN with "?" as the fallback.
QByteArray escapeText(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u == QChar::LineSeparator || u == QChar::ParagraphSeparator || u == '\n') {
            out += "\\line ";
        } else if (u == QChar::Nbsp) {
            out += "\\~";
        } else if (u == QChar::ObjectReplacementCharacter || u < 0x20) {
            // images and control characters have no place in the text
        } else if (u < 0x80) {
            out += static_cast<char>(u);
        } else {
            out += "\\u" + QByteArray::number(static_cast<qint16>(u)) + "?";
        }
    }
    return out;
}

QString familyOf(const QTextCharFormat& fmt, const QString& fallback)
{
    const QStringList families = fmt.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    const QString family = fmt.stringProperty(QTextFormat::FontFamily);
    if (!family.isEmpty())
        return family;
    return fallback;
}

class RtfWriter {
public:
    explicit RtfWriter(const QTextDocument& doc) : doc_(doc)
    {
        defaultFamily_ = doc.defaultFont().family();
        defaultSize_ = doc.defaultFont().pointSizeF() > 0 ? doc.defaultFont().pointSizeF() : 12.0;
        fonts_.append(defaultFamily_);
    }

    QByteArray write()
    {
        QByteArray body;
        for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next())
            writeBlock(block, body);

        QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
        for (int n = 0; n < fonts_.size(); ++n) {
            QString name = fonts_[n];
            name.remove(';');
            out += "{\\f" + QByteArray::number(n) + "\\fnil\\fcharset0 " + escapeText(name) + ";}";
        }
        out += "}{\\colortbl ;";
        for (const QColor& c : colours_)
            out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) + "\\blue" +
                   QByteArray::number(c.blue()) + ";";
        out += "}\n" + body + "}\n";
        return out;
    }

private:
    int fontNumber(const QString& family)
    {
        int n = static_cast<int>(fonts_.indexOf(family));
        if (n < 0) {
            fonts_.append(family);
            n = static_cast<int>(fonts_.size()) - 1;
        }
        return n;
    }

    int colourNumber(const QColor& colour)
    {
        const QColor rgb = colour.toRgb();
        for (int n = 0; n < colours_.size(); ++n)
            if (colours_[n].rgb() == rgb.rgb())
                return n + 1;
        colours_.append(rgb);
        return static_cast<int>(colours_.size());
    }

    void writeBlock(const QTextBlock& block, QByteArray& out)
    {
        const QTextBlockFormat bf = block.blockFormat();
        out += "\\pard";
        if (QTextList* list = block.textList()) {
            const QTextListFormat lf = list->format();
            const int level = std::max(1, lf.indent());
            if (isBulletStyle(lf.style())) {
                out += "{\\pntext\\bullet\\tab}{\\*\\pn\\pnlvlblt\\pnindent0{\\pntxtb\\bullet}}";
            } else {
                const char* kind = "\\pndec";
                switch (lf.style()) {
                case QTextListFormat::ListLowerAlpha: kind = "\\pnlcltr"; break;
                case QTextListFormat::ListUpperAlpha: kind = "\\pnucltr"; break;
                case QTextListFormat::ListLowerRoman: kind = "\\pnlcrm"; break;
                case QTextListFormat::ListUpperRoman: kind = "\\pnucrm"; break;
                default: break;
                }
                out += "{\\pntext " + escapeText(list->itemText(block)) + "\\tab}{\\*\\pn\\pnlvlbody" + kind +
                       "\\pnstart1\\pnindent0{\\pntxta.}}";
            }
            out += "\\fi-360\\li" + QByteArray::number(720 * level);
        } else if (bf.leftMargin() > 0) {
            out += "\\li" + QByteArray::number(qRound(bf.leftMargin() * 20));
        }
        // The space above and below the paragraph (pasted text brings it).
        if (bf.topMargin() > 0)
            out += "\\sb" + QByteArray::number(qRound(bf.topMargin() * 20));
        if (bf.bottomMargin() > 0)
            out += "\\sa" + QByteArray::number(qRound(bf.bottomMargin() * 20));
        const Qt::Alignment align = bf.alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignHCenter)
            out += "\\qc";
        else if (align & Qt::AlignJustify)
            out += "\\qj";
        else if (align & (Qt::AlignRight | Qt::AlignTrailing))
            out += "\\qr";
        else
            out += "\\ql";

        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat fmt = fragment.charFormat();
            out += "{\\f" + QByteArray::number(fontNumber(familyOf(fmt, defaultFamily_)));
            const double size = fmt.fontPointSize() > 0 ? fmt.fontPointSize() : defaultSize_;
            out += "\\fs" + QByteArray::number(qRound(size * 2));
            if (fmt.fontWeight() >= QFont::DemiBold)
                out += "\\b";
            if (fmt.fontItalic())
                out += "\\i";
            if (fmt.fontUnderline())
                out += "\\ul";
            if (fmt.fontStrikeOut())
                out += "\\strike";
            if (fmt.hasProperty(QTextFormat::ForegroundBrush) && fmt.foreground().style() != Qt::NoBrush)
                out += "\\cf" + QByteArray::number(colourNumber(fmt.foreground().color()));
            if (fmt.hasProperty(QTextFormat::BackgroundBrush) && fmt.background().style() != Qt::NoBrush)
                out += "\\highlight" + QByteArray::number(colourNumber(fmt.background().color()));
            out += " " + escapeText(fragment.text()) + "}";
        }
        out += "\\par\n";
    }

    const QTextDocument& doc_;
    QString defaultFamily_;
    double defaultSize_;
    QStringList fonts_;
    QList<QColor> colours_;
};

// ---------------------------------------------------------------- reading

// Groups nested deeper than this are read as part of the deepest one; it
// bounds the state kept for a hostile document of opening braces.
constexpr int kMaxDepth = 256;
// The longest control word the reader takes note of; longer ones are read
// to their end but never match.
constexpr int kMaxWordLength = 32;

enum class Dest { Text, Skip, FontTable, ColourTable, ParaNumbering, ListTable, ListOverrideTable };

struct GroupState {
    Dest dest = Dest::Text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int font = -1; // font table number; -1 is the document's default font
    int halfPoints = 24;
    int colour = 0;     // colour table number; 0 is automatic
    int background = 0; // colour table number of the highlight; 0 is none
    int uc = 1;     // fallback characters that follow a \uN
};

struct ParaState {
    Qt::Alignment align = Qt::AlignLeft;
    QTextListFormat::Style list = QTextListFormat::ListStyleUndefined; // undefined: not a list item
    bool listFromTable = false;                                        // \ls rather than \pn
    int level = 1;
    int leftTwips = 0;
    int spaceBeforeTwips = 0;
    int spaceAfterTwips = 0;
};

struct FontDef {
    QString name;
    int charset = -1;
};

struct Run {
    QTextCharFormat format;
    QString text;
};

// Code page of a font character set; 0 means the document's own page.
int codePageOfCharset(int charset)
{
    switch (charset) {
    case 2: return 1252; // symbol fonts: keep the bytes' Latin meaning
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return 0;
    }
}

QByteArray codePageName(int codePage)
{
    switch (codePage) {
    case 65001: return "UTF-8";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 10000: return "macintosh";
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 866: return "IBM866";
    default: return "windows-" + QByteArray::number(codePage);
    }
}

QTextListFormat::Style styleOfLevelFormat(int nfc)
{
    switch (nfc) {
    case 0: return QTextListFormat::ListDecimal;
    case 1: return QTextListFormat::ListUpperRoman;
    case 2: return QTextListFormat::ListLowerRoman;
    case 3: return QTextListFormat::ListUpperAlpha;
    case 4: return QTextListFormat::ListLowerAlpha;
    default: return QTextListFormat::ListDisc; // 23 is the bullet; anything else shows as one too
    }
}

bool isSkippedDestination(const QByteArray& word)
{
    static const char* const kWords[] = {
        "stylesheet", "info",    "header",    "headerl", "headerr",    "headerf",  "footer",  "footerl",
        "footerr",    "footerf", "pict",      "object",  "footnote",   "pntext",   "listtext", "fldinst",
        "xe",         "tc",      "private",   "revtbl",  "rxe",        "txe",      "nonshppict", "upr",
        "themedata",  "colorschememapping", "datastore", "latentstyles", "generator", "xmlnstbl", "rsidtbl",
        "mmathPr",    "annotation", "atnid",  "atnauthor", "bkmkstart", "bkmkend", "template",
    };
    for (const char* w : kWords)
        if (word == w)
            return true;
    return false;
}

class RtfReader {
public:
    RtfReader(const QByteArray& data, QTextDocument& doc) : data_(data), cursor_(&doc)
    {
        states_.push_back(GroupState());
    }

    void read()
    {
        const qsizetype size = data_.size();
        while (pos_ < size) {
            const char c = data_[pos_];
            if (c == '{') {
                ++pos_;
                flushText();
                skip_ = 0;
                openGroup();
            } else if (c == '}') {
                ++pos_;
                flushText();
                skip_ = 0;
                closeGroup();
            } else if (c == '\\') {
                readControl();
            } else {
                ++pos_;
                if (c == '\r' || c == '\n' || (c >= 0 && c < 0x20 && c != '\t'))
                    continue;
                if (c == '\t') {
                    controlWord("tab", false, 0);
                    continue;
                }
                textByte(c);
            }
        }
        // A document cut off anywhere keeps what was read.
        flushText();
        if (!runs_.isEmpty())
            emitParagraph();
    }

private:
    GroupState& state() { return states_.back(); }

    void openGroup()
    {
        star_ = false;
        if (static_cast<int>(states_.size()) >= kMaxDepth) {
            ++overflowDepth_;
            return;
        }
        states_.push_back(states_.back());
    }

    void closeGroup()
    {
        star_ = false;
        if (overflowDepth_ > 0) {
            --overflowDepth_;
            return;
        }
        if (state().dest == Dest::FontTable)
            commitFont();
        // A stray closing brace at the outermost level is ignored, so text
        // after it is still read.
        if (states_.size() > 1)
            states_.pop_back();
    }

    void readControl()
    {
        const qsizetype size = data_.size();
        ++pos_; // the backslash
        if (pos_ >= size)
            return;
        const char c = data_[pos_];
        if (isLetter(c)) {
            QByteArray word;
            while (pos_ < size && isLetter(data_[pos_])) {
                if (word.size() <= kMaxWordLength)
                    word += data_[pos_];
                ++pos_;
            }
            bool hasParam = false;
            bool negative = false;
            long long param = 0;
            if (pos_ < size && data_[pos_] == '-' && pos_ + 1 < size && isDigit(data_[pos_ + 1])) {
                negative = true;
                ++pos_;
            }
            while (pos_ < size && isDigit(data_[pos_])) {
                hasParam = true;
                if (param < 100000000000LL) // further digits cannot matter; keep it in range
                    param = param * 10 + (data_[pos_] - '0');
                ++pos_;
            }
            if (pos_ < size && data_[pos_] == ' ')
                ++pos_;
            param = std::clamp(negative ? -param : param, -2147483647LL, 2147483647LL);
            flushText();
            if (skip_ > 0) { // part of a \uN fallback
                --skip_;
                if (word == "bin" && hasParam)
                    skipBinary(param);
                return;
            }
            const bool star = star_;
            star_ = false;
            if (word.size() > kMaxWordLength)
                return;
            if (star && !isKnownStarredDestination(word)) {
                state().dest = Dest::Skip;
                return;
            }
            controlWord(word, hasParam, static_cast<int>(param));
            return;
        }
        ++pos_;
        if (c == '\'') {
            int value = 0;
            int digits = 0;
            while (digits < 2 && pos_ < size && hexValue(data_[pos_]) >= 0) {
                value = value * 16 + hexValue(data_[pos_]);
                ++pos_;
                ++digits;
            }
            if (digits < 2)
                return; // a cut-off \'h is no character
            if (skip_ > 0) {
                --skip_;
                return;
            }
            textByte(static_cast<char>(value));
            return;
        }
        flushText();
        if (skip_ > 0) {
            --skip_;
            return;
        }
        switch (c) {
        case '\\':
        case '{':
        case '}': textByte(c); break;
        case '~': appendChar(QChar::Nbsp); break;
        case '_': appendChar(QChar(0x2011)); break;
        case '*': star_ = true; break;
        case '\r':
        case '\n': controlWord("par", false, 0); break;
        default: break; // \- (optional hyphen), \| , \: and the unknown
        }
    }

    // Starred destinations the reader understands; every other {\*\word ...}
    // group is skipped whole.
    static bool isKnownStarredDestination(const QByteArray& word)
    {
        return word == "pn" || word == "listtable" || word == "listoverridetable" || word == "fldrslt";
    }

    void skipBinary(long long count)
    {
        // Nothing is allocated from the count; it only moves the read position.
        const qsizetype left = data_.size() - pos_;
        pos_ += static_cast<qsizetype>(std::min<long long>(std::max(0LL, count), left));
    }

    void controlWord(const QByteArray& word, bool hasParam, int param)
    {
        GroupState& st = state();
        const bool on = !hasParam || param != 0;

        // Words that mean the same in every destination.
        if (word == "bin") {
            if (hasParam)
                skipBinary(param);
            return;
        }
        if (st.dest == Dest::Skip)
            return; // nothing inside a skipped group matters
        if (word == "ansicpg") {
            if (param > 0)
                codePage_ = param;
            return;
        }
        if (word == "mac") {
            codePage_ = 10000;
            return;
        }
        if (word == "pc") {
            codePage_ = 437;
            return;
        }
        if (word == "pca") {
            codePage_ = 850;
            return;
        }
        if (word == "deff") {
            deff_ = param;
            return;
        }
        if (word == "uc") {
            st.uc = std::clamp(param, 0, 8);
            return;
        }
        if (word == "fonttbl") {
            st.dest = Dest::FontTable;
            return;
        }
        if (word == "colortbl") {
            st.dest = Dest::ColourTable;
            return;
        }
        if (word == "listtable") {
            st.dest = Dest::ListTable;
            return;
        }
        if (word == "listoverridetable") {
            st.dest = Dest::ListOverrideTable;
            return;
        }
        if (word == "pn") {
            st.dest = Dest::ParaNumbering;
            return;
        }
        if (isSkippedDestination(word)) {
            st.dest = Dest::Skip;
            return;
        }

        switch (st.dest) {
        case Dest::Skip: return;
        case Dest::FontTable: fontTableWord(word, param); return;
        case Dest::ColourTable: colourTableWord(word, param); return;
        case Dest::ParaNumbering: numberingWord(word, param); return;
        case Dest::ListTable: listTableWord(word, param); return;
        case Dest::ListOverrideTable: listOverrideWord(word, param); return;
        case Dest::Text: break;
        }

        // Characters.
        if (word == "par" || word == "sect" || word == "page" || word == "row")
            emitParagraph();
        else if (word == "line")
            appendChar(QChar::LineSeparator);
        else if (word == "tab" || word == "cell")
            appendChar(QChar('\t'));
        else if (word == "u") {
            const auto unit = static_cast<char16_t>(param & 0xFFFF);
            if (unit >= 0x20) // control characters have no place in the text
                appendChar(QChar(unit));
            skip_ = st.uc;
        } else if (word == "bullet")
            appendChar(QChar(0x2022));
        else if (word == "endash")
            appendChar(QChar(0x2013));
        else if (word == "emdash")
            appendChar(QChar(0x2014));
        else if (word == "lquote")
            appendChar(QChar(0x2018));
        else if (word == "rquote")
            appendChar(QChar(0x2019));
        else if (word == "ldblquote")
            appendChar(QChar(0x201C));
        else if (word == "rdblquote")
            appendChar(QChar(0x201D));
        else if (word == "emspace" || word == "enspace" || word == "qmspace")
            appendChar(QChar(' '));
        // Character formatting.
        else if (word == "plain") {
            const GroupState keep = st;
            st = GroupState();
            st.dest = keep.dest;
            st.uc = keep.uc;
        } else if (word == "b")
            st.bold = on;
        else if (word == "i")
            st.italic = on;
        else if (word == "ul" || word == "uld" || word == "uldb" || word == "ulw" || word == "ulwave" ||
                 word == "uldash" || word == "ulth")
            st.underline = on;
        else if (word == "ulnone")
            st.underline = false;
        else if (word == "strike" || word == "striked")
            st.strike = on;
        else if (word == "f")
            st.font = param;
        else if (word == "fs") {
            if (hasParam && param > 0)
                st.halfPoints = std::clamp(param, 2, 3276);
        } else if (word == "cf")
            st.colour = param;
        // The background: \highlight (rich-edit controls, word processors),
        // \cb and \chcbpat (other writers); 0 is none.
        else if (word == "highlight" || word == "cb" || word == "chcbpat")
            st.background = param;
        // Paragraph formatting; it lasts until the next \pard.
        else if (word == "pard")
            para_ = ParaState();
        else if (word == "ql")
            para_.align = Qt::AlignLeft;
        else if (word == "qc")
            para_.align = Qt::AlignHCenter;
        else if (word == "qr")
            para_.align = Qt::AlignRight;
        else if (word == "qj")
            para_.align = Qt::AlignJustify;
        else if (word == "li")
            para_.leftTwips = param;
        else if (word == "sb")
            para_.spaceBeforeTwips = std::clamp(param, 0, 20 * 200); // at most 200 points
        else if (word == "sa")
            para_.spaceAfterTwips = std::clamp(param, 0, 20 * 200);
        else if (word == "ls") {
            const int listId = lsToList_.value(param, -1);
            para_.list = styleOfLevelFormat(listFormats_.value(listId, 23));
            para_.listFromTable = true;
        } else if (word == "ilvl")
            para_.level = std::clamp(param, 0, 8) + 1; // clamped first: param may be INT_MAX
        // Everything else is ignored.
    }

    void fontTableWord(const QByteArray& word, int param)
    {
        if (word == "f") {
            commitFont();
            fontNumber_ = param;
        } else if (word == "fcharset") {
            fontCharset_ = param;
        }
    }

    void commitFont()
    {
        if (fontNumber_ < 0)
            return;
        const int codePage = codePageOfCharset(fontCharset_);
        FontDef def;
        def.name = decode(fontName_, codePage ? codePage : codePage_).trimmed();
        def.charset = fontCharset_;
        if (!def.name.isEmpty() || !fonts_.contains(fontNumber_))
            fonts_.insert(fontNumber_, def);
        fontNumber_ = -1;
        fontCharset_ = -1;
        fontName_.clear();
    }

    void colourTableWord(const QByteArray& word, int param)
    {
        const int value = std::clamp(param, 0, 255);
        if (word == "red")
            red_ = value;
        else if (word == "green")
            green_ = value;
        else if (word == "blue")
            blue_ = value;
        else
            return;
        colourSet_ = true;
    }

    void numberingWord(const QByteArray& word, int)
    {
        if (word == "pnlvlblt")
            para_.list = QTextListFormat::ListDisc;
        else if (word == "pnlvlbody" || word == "pnlvl" || word == "pndec")
            para_.list = QTextListFormat::ListDecimal;
        else if (word == "pnlcltr")
            para_.list = QTextListFormat::ListLowerAlpha;
        else if (word == "pnucltr")
            para_.list = QTextListFormat::ListUpperAlpha;
        else if (word == "pnlcrm")
            para_.list = QTextListFormat::ListLowerRoman;
        else if (word == "pnucrm")
            para_.list = QTextListFormat::ListUpperRoman;
        else
            return;
        para_.listFromTable = false;
    }

    void listTableWord(const QByteArray& word, int param)
    {
        if (word == "list")
            listNfc_ = -1;
        else if ((word == "levelnfc" || word == "levelnfcn") && listNfc_ < 0)
            listNfc_ = param; // the first level's numbering decides
        else if (word == "listid")
            listFormats_.insert(param, listNfc_ < 0 ? 23 : listNfc_);
    }

    void listOverrideWord(const QByteArray& word, int param)
    {
        if (word == "listid")
            overrideListId_ = param;
        else if (word == "ls")
            lsToList_.insert(param, overrideListId_);
    }

    // A byte of text in the current destination.
    void textByte(char c)
    {
        if (skip_ > 0) {
            --skip_;
            return;
        }
        switch (state().dest) {
        case Dest::Text: pending_ += c; break;
        case Dest::FontTable:
            if (c == ';')
                commitFont();
            else
                fontName_ += c;
            break;
        case Dest::ColourTable:
            if (c == ';') {
                colours_.append(colourSet_ ? QColor(red_, green_, blue_) : QColor());
                red_ = green_ = blue_ = 0;
                colourSet_ = false;
            }
            break;
        default: break;
        }
    }

    void appendChar(QChar ch)
    {
        if (state().dest == Dest::Text)
            appendText(QString(ch));
    }

    // Decodes the bytes gathered so far in the code page of the current font.
    void flushText()
    {
        if (pending_.isEmpty())
            return;
        const GroupState& st = state();
        const int fontNo = st.font >= 0 ? st.font : deff_;
        const int charsetPage = codePageOfCharset(fonts_.value(fontNo).charset);
        const QString text = decode(pending_, charsetPage ? charsetPage : codePage_);
        pending_.clear();
        appendText(text);
    }

    QString decode(const QByteArray& bytes, int codePage)
    {
        auto it = decoders_.find(codePage);
        if (it == decoders_.end()) {
            auto decoder =
                std::make_unique<QStringDecoder>(codePageName(codePage).constData(), QStringDecoder::Flag::Stateless);
            if (!decoder->isValid())
                decoder = std::make_unique<QStringDecoder>("windows-1252", QStringDecoder::Flag::Stateless);
            it = decoders_.emplace(codePage, std::move(decoder)).first;
        }
        if (!it->second->isValid())
            return QString::fromLatin1(bytes);
        return it->second->decode(bytes);
    }

    QTextCharFormat currentFormat() const
    {
        const GroupState& st = states_.back();
        QTextCharFormat fmt;
        const int fontNo = st.font >= 0 ? st.font : deff_;
        const auto font = fonts_.constFind(fontNo);
        if (font != fonts_.constEnd() && !font->name.isEmpty())
            fmt.setFontFamilies(QStringList{font->name});
        fmt.setFontPointSize(st.halfPoints / 2.0);
        if (st.bold)
            fmt.setFontWeight(QFont::Bold);
        if (st.italic)
            fmt.setFontItalic(true);
        if (st.underline)
            fmt.setFontUnderline(true);
        if (st.strike)
            fmt.setFontStrikeOut(true);
        if (st.colour > 0 && st.colour < colours_.size() && colours_[st.colour].isValid())
            fmt.setForeground(colours_[st.colour]);
        if (st.background > 0 && st.background < colours_.size() && colours_[st.background].isValid())
            fmt.setBackground(colours_[st.background]);
        return fmt;
    }

    void appendText(const QString& text)
    {
        if (text.isEmpty())
            return;
        const QTextCharFormat fmt = currentFormat();
        if (!runs_.isEmpty() && runs_.last().format == fmt)
            runs_.last().text += text;
        else
            runs_.append(Run{fmt, text});
    }

    void emitParagraph()
    {
        flushText();
        QTextBlockFormat bf;
        bf.setAlignment(para_.align);
        const bool isList = para_.list != QTextListFormat::ListStyleUndefined;
        if (!isList && para_.leftTwips > 0)
            bf.setLeftMargin(para_.leftTwips / 20.0);
        if (para_.spaceBeforeTwips > 0)
            bf.setTopMargin(para_.spaceBeforeTwips / 20.0);
        if (para_.spaceAfterTwips > 0)
            bf.setBottomMargin(para_.spaceAfterTwips / 20.0);
        if (firstBlock_)
            cursor_.setBlockFormat(bf);
        else
            cursor_.insertBlock(bf, runs_.isEmpty() ? QTextCharFormat() : runs_.first().format);
        firstBlock_ = false;
        if (!runs_.isEmpty())
            cursor_.setBlockCharFormat(runs_.first().format);
        for (const Run& run : runs_)
            cursor_.insertText(run.text, run.format);
        runs_.clear();

        if (!isList) {
            lists_.clear();
            return;
        }
        const int level = para_.listFromTable ? para_.level : std::clamp(para_.leftTwips / 720, 1, 9);
        // Deeper lists end where a shallower item follows.
        for (auto it = lists_.begin(); it != lists_.end();)
            it = it->first > level ? lists_.erase(it) : std::next(it);
        auto found = lists_.find(level);
        if (found != lists_.end() && found->second->format().style() == para_.list) {
            found->second->add(cursor_.block());
        } else {
            QTextListFormat lf;
            lf.setStyle(para_.list);
            lf.setIndent(level);
            lists_[level] = cursor_.createList(lf);
        }
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static int hexValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    const QByteArray& data_;
    QTextCursor cursor_;
    qsizetype pos_ = 0;

    std::vector<GroupState> states_;
    int overflowDepth_ = 0;
    bool star_ = false;
    int skip_ = 0; // \uN fallback characters still to drop

    int codePage_ = 1252;
    int deff_ = 0;
    std::map<int, std::unique_ptr<QStringDecoder>> decoders_;

    QHash<int, FontDef> fonts_;
    int fontNumber_ = -1;
    int fontCharset_ = -1;
    QByteArray fontName_;

    QList<QColor> colours_; // index 0 is the automatic colour
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colourSet_ = false;

    int listNfc_ = -1;
    QHash<int, int> listFormats_; // list id -> first level's numbering format
    int overrideListId_ = -1;
    QHash<int, int> lsToList_; // \ls number -> list id

    ParaState para_;
    QList<Run> runs_;
    QByteArray pending_; // text bytes not yet decoded
    bool firstBlock_ = true;
    std::map<int, QTextList*> lists_; // open list per level
};

} // namespace

QByteArray writeRtf(const QTextDocument& doc)
{
    return RtfWriter(doc).write();
}

bool isRtf(const QByteArray& data)
{
    qsizetype i = 0;
    if (data.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < data.size() && static_cast<unsigned char>(data[i]) <= 32)
        ++i;
    return data.mid(i, 5) == "{\\rtf";
}

void readRtf(const QByteArray& data, QTextDocument& doc)
{
    doc.clear();
    if (!isRtf(data)) {
        QString text = fromBytes(data.toStdString());
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        doc.setPlainText(text);
        return;
    }
    RtfReader(data, doc).read();
}

QString plainTextCrLf(const QTextDocument& doc)
{
    QString text = doc.toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

} // namespace kovara::ui
