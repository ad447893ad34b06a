#include "core/base/delimited.h"

namespace kovara::core {

namespace {
bool isBlank(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}
} // namespace

std::vector<std::string> splitDelimited(const std::string& text, char delimiter)
{
    std::vector<std::string> pieces;
    const std::size_t end = text.find('\0') == std::string::npos ? text.size() : text.find('\0');
    std::size_t p = 0;
    auto at = [&](std::size_t i) { return i < end ? text[i] : '\0'; };

    while (p < end && isBlank(at(p)))
        ++p;
    while (p < end) {
        std::string piece;
        if (at(p) == '"') {
            ++p;
            while (p < end) {
                if (at(p) == '"') {
                    if (at(p + 1) == '"') {
                        piece += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                piece += at(p++);
            }
            // Whatever follows the closing quote up to the next delimiter or
            // blank is not part of the piece.
            while (p < end && !isBlank(at(p)) && at(p) != delimiter)
                ++p;
        } else {
            const std::size_t start = p;
            while (p < end && !isBlank(at(p)) && at(p) != delimiter)
                ++p;
            piece = text.substr(start, p - start);
        }
        pieces.push_back(std::move(piece));
        while (p < end && isBlank(at(p)))
            ++p;
        if (p < end && at(p) == delimiter) {
            if (p + 1 >= end)
                pieces.emplace_back();
            do {
                ++p;
            } while (p < end && isBlank(at(p)));
        }
    }
    return pieces;
}

} // namespace kovara::core
