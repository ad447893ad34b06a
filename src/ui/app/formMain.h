#pragma once
#include "ui/app/dialogs.h"

#include <QMainWindow>
#include <memory>
#include <string>

namespace kovara {
class TKOVABible;
}

namespace kovara::ui {

// The main window. It owns everything that lives for the whole run (the
// stores and the preferences) and opens them in its constructor, in the order
// the program relies on. A failure there raises out of the constructor after
// releasing whatever was opened; the caller shows the message and ends.
class TFormMainWindow : public QMainWindow {
    Q_OBJECT
public:
    // programFolder and appDataFolder as the platform reports them; dialogs
    // answers every message box the window shows.
    TFormMainWindow(const std::string& programFolder, const std::string& appDataFolder, Dialogs& dialogs);
    ~TFormMainWindow() override;

    const std::string& ProgramFolder() const { return programFolder_; }
    const std::string& UserDataFolder() const { return userDataFolder_; }
    TKOVABible& Bible() const { return *bible_; }

    void UpdateCaption();

private:
    void FormCreate(const std::string& appDataFolder);

    Dialogs& dialogs_;
    std::string programFolder_;
    std::string userDataFolder_;
    std::unique_ptr<TKOVABible> bible_;
};

} // namespace kovara::ui
