#pragma once
// A preferences object for UI tests, with the defaults of a fresh
// settings.ini in a temporary folder.
#include "app/kova_prefs.h"

#include <memory>

namespace kovara::ui::test {

std::unique_ptr<TKOVAPreferences> MakeTestPreferences();

} // namespace kovara::ui::test
