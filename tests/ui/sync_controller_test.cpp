#include "ui/app/sync_controller.h"

#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

// The English catalogue gives the count's singular and plural.
TEST(SyncControllerTest, TheKeptCopiesMessageReadsInTheSingularAndThePlural)
{
    EXPECT_EQ(SyncController::keptCopiesText(1).toStdString(),
              "1 text changed on two computers at once was kept as a dated note beside the newer text.");
    EXPECT_EQ(SyncController::keptCopiesText(2).toStdString(),
              "2 texts changed on two computers at once were kept as dated notes beside the newer texts.");
}

} // namespace
} // namespace kovara::ui
