#include "scripted_dialogs.h"
#include "ui/base/core_names.h"
#include "ui/base/error_guard.h"
#include "core/base/exception.h"

namespace kovara::ui {
namespace {

TEST(ErrorGuardTest, ShowsTheMessageAndGoesOn)
{
    test::ScriptedDialogs dialogs;
    dialogs.expectMessage(QStringLiteral("Bible file not found: /x"));
    EXPECT_FALSE(runGuarded(dialogs, [] { throw Exception("Bible file not found: /x"); }));
    bool ran = false;
    EXPECT_TRUE(runGuarded(dialogs, [&] { ran = true; }));
    EXPECT_TRUE(ran);
}

} // namespace
} // namespace kovara::ui
