#include "core/base/exception.h"

#include <climits>

namespace kovara::core {

int strToInt(const std::string& text)
{
    auto fail = [&]() -> int { throw Exception(format("'%s' is not a valid integer value", text)); };
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // A leading "$" or "0x" means hexadecimal, as the settings file allows.
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return fail();
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return fail();
        value = value * base + digit;
        // Hexadecimal values may use all 32 bits (colours such as $FF000005).
        const long long limit = base == 16 ? 0xFFFFFFFFLL : (negative ? -(long long)INT_MIN : INT_MAX);
        if (value > limit)
            return fail();
    }
    if (negative)
        value = -value;
    return static_cast<int>(static_cast<unsigned int>(value & 0xFFFFFFFFLL));
}

std::string trim(const std::string& text)
{
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32)
        --e;
    return text.substr(b, e - b);
}

} // namespace kovara::core
