#include "ui/base/text_codec.h"
#include "ui/base/core_names.h"

#include <QStringDecoder>

namespace kovara::ui {

namespace {
// Windows-1252 code points for bytes 0x80-0x9F; other bytes map to themselves.
const char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
} // namespace

QString fromBytes(const std::string& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError())
        return text;
    text.clear();
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        text.append(u >= 0x80 && u < 0xA0 ? QChar(kCp1252High[u - 0x80]) : QChar(u));
    }
    return text;
}

std::string toBytes(const QString& text)
{
    return text.toStdString();
}

} // namespace kovara::ui
