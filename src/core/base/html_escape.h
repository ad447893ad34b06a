#pragma once
// User text on its way into a generated HTML page (welcome page, plan
// printout, ...): the page shows it as the user typed it, never as markup.
#include <string>
#include <string_view>

namespace kovara::core {

// text with "&", "<", ">" and the double quote replaced by their character
// references, so it reads the same as element content and inside a quoted
// attribute. Every other byte (UTF-8 or not) is copied as it is.
std::string htmlEscape(std::string_view text);

} // namespace kovara::core
