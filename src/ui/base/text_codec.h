#pragma once
// The edge between the core's byte strings and Qt's QString. Bytes are UTF-8;
// bytes that are not valid UTF-8 are read as Windows-1252, so 8-bit text from
// older data shows correctly.
#include "ui/base/core_names.h"
#include <QString>
#include <string>

namespace kovara::ui {

QString fromBytes(const std::string& bytes);
std::string toBytes(const QString& text);

} // namespace kovara::ui
