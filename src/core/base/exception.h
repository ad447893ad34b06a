#pragma once
// The program's general error type: a message and nothing else. Every failure
// that reaches the user is one of these (or derives from it); the shell shows
// what() in a message box and goes on.
#include <fmt/printf.h>
#include <stdexcept>
#include <string>

namespace kovara::core {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// Formats a printf-style message (the program's format strings are kept
// verbatim, "%d" and "%s" included) and returns it as std::string.
template <typename... Args>
std::string format(const std::string& format, const Args&... args)
{
    return fmt::sprintf(format, args...);
}

// Integer conversion as the settings file needs it: an optional sign, then
// either decimal digits ("42", "-7", within the int range) or hexadecimal
// digits after "$" or "0x"/"0X" ("$1F", "0x1F", up to 32 bits, so "$FF000005"
// comes back as a negative int). Nothing else is allowed, surrounding blanks
// included; anything else raises "'%s' is not a valid integer value".
int strToInt(const std::string& text);

// Removes leading and trailing characters with codes 0 to 32.
std::string trim(const std::string& text);

} // namespace kovara::core
