// Stand-in while the preferences object and its INI file are not on this
// branch yet: weak definitions that only set the defaults, so that frames can
// be tested with a TKOVAPreferences. When the real ones are linked in, they
// win over these; MakeTestPreferences must then hand a real INI file on a
// temporary folder instead of the placeholder below.
#include "test_preferences.h"

#include <cstddef>

namespace kovara {

__attribute__((weak)) TKOVAPreferences::TKOVAPreferences(TIniFile& ini) : ini_(ini) {}
__attribute__((weak)) TKOVAPreferences::~TKOVAPreferences() = default;
__attribute__((weak)) void TKOVAPreferences::SavePreferences() {}

} // namespace kovara

namespace kovara::ui::test {

namespace {
// Never read by the stand-in constructor above.
alignas(std::max_align_t) unsigned char placeholder[64];
} // namespace

std::unique_ptr<TKOVAPreferences> MakeTestPreferences()
{
    return std::make_unique<TKOVAPreferences>(*reinterpret_cast<TIniFile*>(placeholder));
}

} // namespace kovara::ui::test
