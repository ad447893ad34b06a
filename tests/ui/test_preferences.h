#pragma once
// A preferences object for UI tests, with the defaults of a fresh
// settings.ini in a temporary folder.
#include "ui/base/core_names.h"
#include "core/app/preferences.h"

#include <memory>

namespace kovara::ui::test {

std::unique_ptr<Preferences> makeTestPreferences();

} // namespace kovara::ui::test
