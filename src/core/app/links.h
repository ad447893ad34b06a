#pragma once
// The product's outside addresses and the texts built from them: the web site,
// the support e-mail with its subject, and the update-check page with the
// version query. The shell only opens what these return.
#include <string>

namespace kovara::core {

// The product web site.
inline constexpr const char* kProductWebsite = "https://kovara.example.org/";
// The support e-mail address.
inline constexpr const char* kSupportEmail = "support@kovara.example.org";
// The update-check page, ready for its query.
inline constexpr const char* kUpdateCheckPage = "https://kovara.example.org/updatecheck2.php?";

// "mailto:", the support address, "?subject=Kovara%20" and version: the e-mail
// program opens a message whose subject is "Kovara " and the version.
std::string supportEmailUrl(const std::string& fileVersion);

// "major=%s&minor=%s&release=%s&build=%s" from the first four dot-separated
// parts of fileVersion (further parts are ignored). Raises when there are
// fewer than four parts.
std::string updateCheckQuery(const std::string& fileVersion);

// The update-check page with updateCheckQuery appended.
std::string updateCheckUrl(const std::string& fileVersion);

} // namespace kovara::core
