#include "ui/app/formMain.h"

#include "app/data_folders.h"
#include "app/version.h"
#include "content/kova_bible.h"
#include "ui/app/platform.h"
#include "ui/widgets/text_codec.h"

namespace kovara::ui {

TFormMainWindow::TFormMainWindow(const std::string& programFolder, const std::string& appDataFolder,
                                 Dialogs& dialogs)
    : dialogs_(dialogs), programFolder_(programFolder)
{
    FormCreate(appDataFolder);
}

TFormMainWindow::~TFormMainWindow() = default;

void TFormMainWindow::FormCreate(const std::string& appDataFolder)
{
    CreateNamedMutex();
    userDataFolder_ = UserDataFolderFor(appDataFolder, programFolder_);
    EnsureUserDataFolder(userDataFolder_);
    bible_ = std::make_unique<TKOVABible>(programFolder_ + "bible.kova2", "King James Version", "KJV");
    UpdateCaption();
    resize(900, 640);
}

void TFormMainWindow::UpdateCaption()
{
    setWindowTitle(FromBytes("Kovara " + FileVersionText()));
}

} // namespace kovara::ui
