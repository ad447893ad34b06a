#pragma once
// Rich Text Format in and out of a QTextDocument, for the prayer text.
//
// The writer keeps bold, italic, underline, strikeout, bullet and numbered
// lists, paragraph alignment, left margin, and font name, size, colour and
// background (highlight) colour.
// Its output is 7-bit: characters outside ASCII go out as \uN with an ASCII
// fallback, so any reader shows them.
//
// The reader takes back what the writer makes, and also what other writers
// produce: word processors (font and colour tables, \uN with \ucN, list
// tables) and the Windows rich-edit control (\pn / \pntext bullets, \'hh
// characters in the document's code page or the font's character set).
// Destinations it does not show ({\*...}, style sheets, pictures, document
// information) are skipped, unknown control words are ignored, and damaged
// input (unbalanced braces, a cut-off end) keeps all text that can be read.
// Bytes that are not RTF at all are shown as plain text.
#include "ui/base/core_names.h"
#include <QByteArray>
#include <QString>

class QTextDocument;

namespace kovara::ui {

// The whole document as RTF bytes.
QByteArray writeRtf(const QTextDocument& doc);

// Replaces the content of doc by the document in data (RTF, or plain text
// when data does not start with "{\rtf"). Never raises for bad input.
void readRtf(const QByteArray& data, QTextDocument& doc);

// True when data (after leading blanks) starts as an RTF document.
bool isRtf(const QByteArray& data);

// The document's plain text with CR LF between paragraphs and at line
// breaks; non-breaking spaces become blanks.
QString plainTextCrLf(const QTextDocument& doc);

} // namespace kovara::ui
