// "Get Bibles and Commentaries" against a repository served on 127.0.0.1:
// nothing is fetched until the reader agrees to connect, the list by
// language, an install and a removal through the dialog's buttons.
#include "core/settings/ini_file.h"
#include "core/settings/settings_keys.h"
#include "local_repository.h"
#include "ui/bible/get_modules_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace kovara::ui {
namespace {

using namespace kovara::test;

QString stateOf(QTreeWidget& tree, const QString& module)
{
    for (QTreeWidgetItemIterator it(&tree); *it; ++it)
        if ((*it)->text(0) == module)
            return (*it)->text(4);
    return QStringLiteral("(not listed)");
}

TEST(GetModulesDialogTest, AsksBeforeConnectingThenListsInstallsAndRemoves)
{
    if (!fs::exists(kSystemLibrary / "mods.d/spaRV1909eb.conf"))
        GTEST_SKIP() << "Debian's sword-text-sparv is not installed";
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    addModule(root / "site/repo", "spaRV1909eb.conf");
    packModuleList(root / "site/repo");
    HttpServer server(root / "site");
    core::IniFile settings((root / "settings.ini").string());

    int asked = 0;
    bool agree = false;
    GetModulesDialog dialog(settings, (root / "home/.sword/").string(), nullptr, [&] {
        ++asked;
        return agree;
    });
    dialog.show();
    dialog.addSource({"Local", "HTTP", server.host(), "/repo"});
    auto* tree = dialog.findChild<QTreeWidget*>(QStringLiteral("moduleTree"));
    ASSERT_TRUE(tree);
    QSignalSpy finished(&dialog, &GetModulesDialog::workFinished);

    // Declined: nothing fetched, asked again next time.
    dialog.refreshSource();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(finished.count(), 0);
    EXPECT_EQ(tree->topLevelItemCount(), 0);

    // Agreed once: kept, never asked again.
    agree = true;
    dialog.refreshSource();
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_TRUE(finished.takeFirst().at(0).toBool());
    EXPECT_TRUE(core::settings::kSwordInternetAllowed.read(settings));
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("Spanish (es)"));
    EXPECT_EQ(stateOf(*tree, QStringLiteral("spaRV1909eb")), QStringLiteral("Installed by the system"));

    dialog.selectModule(QStringLiteral("spaRV1909eb"));
    auto* install = dialog.findChild<QPushButton*>(QStringLiteral("installButton"));
    auto* remove = dialog.findChild<QPushButton*>(QStringLiteral("removeButton"));
    ASSERT_TRUE(install && remove);
    EXPECT_TRUE(install->isEnabled()) << "a copy of its own can go into the reader's folder";
    EXPECT_FALSE(remove->isEnabled()) << "the system's copy is the package manager's";
    install->click();
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_TRUE(finished.takeFirst().at(0).toBool());
    EXPECT_EQ(stateOf(*tree, QStringLiteral("spaRV1909eb")), QStringLiteral("Installed"));
    EXPECT_TRUE(remove->isEnabled());
    EXPECT_FALSE(install->isEnabled());
    remove->click();
    EXPECT_EQ(stateOf(*tree, QStringLiteral("spaRV1909eb")), QStringLiteral("Installed by the system"));
    EXPECT_EQ(asked, 2);
    if (qEnvironmentVariableIsSet("KOVARA_SHOT"))
        dialog.grab().save(qEnvironmentVariable("KOVARA_SHOT"));
}

} // namespace
} // namespace kovara::ui
