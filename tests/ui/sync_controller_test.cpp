#include "ui/app/sync_controller.h"
#include "ui/app/sync_settings_panel.h"

#include <QLineEdit>
#include <QStyle>

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

// The preferences' folder field shows a usual path whole, and any path in
// its tip.
TEST(SyncSettingsPanelTest, AUsualFolderPathFitsItsFieldAndALongOneIsInItsTip)
{
    SyncSettingsPanel panel;
    auto* folder = panel.findChild<QLineEdit*>(QStringLiteral("SyncFolderEdit"));
    ASSERT_TRUE(folder);
    const QString usual = QStringLiteral("/home/margaret/Nextcloud/Kovara");
    folder->setText(usual);
    panel.adjustSize();
    const int room = folder->width() - 2 * folder->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) - 8;
    EXPECT_LE(folder->fontMetrics().horizontalAdvance(usual), room);
    const QString long_ = QStringLiteral("/home/margaret/Documents/Synced between computers/Devotions/Kovara");
    folder->setText(long_);
    EXPECT_EQ(folder->toolTip(), long_);
}

} // namespace
} // namespace kovara::ui
