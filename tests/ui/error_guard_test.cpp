#include "scripted_dialogs.h"
#include "ui/app/error_guard.h"
#include "base/exception.h"

namespace kovara::ui {
namespace {

TEST(ErrorGuardTest, ShowsTheMessageAndGoesOn)
{
    test::ScriptedDialogs dialogs;
    dialogs.ExpectMessage(QStringLiteral("Bible file not found: /x"));
    EXPECT_FALSE(RunGuarded(dialogs, [] { throw Exception("Bible file not found: /x"); }));
    bool ran = false;
    EXPECT_TRUE(RunGuarded(dialogs, [&] { ran = true; }));
    EXPECT_TRUE(ran);
}

} // namespace
} // namespace kovara::ui
