// The prayer text reader: any bytes (the database may hold what another
// program wrote) become a document without a crash, and what the writer makes
// of that document reads back to the same text.
#include "fuzz_support.h"
#include "ui/prayer/rtf_codec.h"

#include <QGuiApplication>
#include <QTextDocument>

using namespace kovara::core;
namespace ui = kovara::ui;

namespace {
// Control characters other than tab and line ends, and the placeholder of an
// embedded object, are left out by the writer on purpose; everything else
// must survive a write and read.
QString visible(const QString& text)
{
    QString kept;
    for (QChar c : text)
        if ((c.unicode() >= 0x20 && c != QChar::ObjectReplacementCharacter) || c == u'\t' || c == u'\r' ||
            c == u'\n')
            kept += c;
    return kept;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Kept for the life of the process: destroying it at exit, after Qt's own
    // globals are gone, would crash.
    new QGuiApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QTextDocument doc;
    ui::readRtf(bytes, doc);
    const QString text = visible(ui::plainTextCrLf(doc));

    const QByteArray written = ui::writeRtf(doc);
    fuzz::expect(ui::isRtf(written), "the writer made something that is not RTF");
    for (char c : written)
        fuzz::expect(static_cast<unsigned char>(c) < 0x80, "the writer's output is not 7-bit");
    QTextDocument again;
    ui::readRtf(written, again);
    const QString textAgain = visible(ui::plainTextCrLf(again));
    fuzz::expect(textAgain == text, "text changed on a write and read: \"" + text.toStdString() + "\" became \"" +
                                        textAgain.toStdString() + "\"");
    return 0;
}
