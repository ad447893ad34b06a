#pragma once
// "Get Bibles and Commentaries": the modules of the SWORD repositories, by
// language and type, with their size and description, installed into and
// removed from the reader's own SWORD folder (~/.sword), with progress and
// Cancel. Kovara asks once, plainly, before its first connection to the
// internet, and lists nothing it would have to fetch until then.
#include "core/sword/sword_installer.h"

#include <QDialog>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class QComboBox;
class QLabel;
class QProgressDialog;
class QPushButton;
class QTreeWidget;

namespace kovara::core {
class IniFile;
}

namespace kovara::ui {

class GetModulesDialog : public QDialog {
    Q_OBJECT
public:
    // askToConnect puts the question before the first connection (none: a
    // message box); the answer "yes" is kept in settings.
    GetModulesDialog(core::IniFile& settings, const std::string& swordHome, QWidget* parent = nullptr,
                     std::function<bool()> askToConnect = {});
    ~GetModulesDialog() override;

    // What the buttons do, for the keyboard and for tests.
    void refreshSource();
    void installSelected();
    void removeSelected();
    void addSource(const core::SwordSource& source);
    void selectModule(const QString& name);

signals:
    // A transfer or removal ended; message is empty when it went well.
    void workFinished(bool ok, bool cancelled, const QString& message);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool mayConnect();
    void load();
    void fillSources();
    void fillModules();
    void updateButtons();
    QString selectedModule() const;
    QString currentSource() const;
    // Runs work on a thread of its own with a progress window; done runs on
    // the window's thread afterwards.
    void runTransfer(const QString& what, std::function<bool()> work);
    void finishTransfer(bool ok, bool cancelled, const QString& message);

    core::IniFile& settings_;
    std::string swordHome_;
    std::function<bool()> askToConnect_;
    std::unique_ptr<core::SwordInstaller> installer_;
    std::vector<core::SwordRemoteModule> modules_;
    QLabel* message_ = nullptr;
    QComboBox* sources_ = nullptr;
    QComboBox* types_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QPushButton* refreshButton_ = nullptr;
    QPushButton* installButton_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QPushButton* addSourceButton_ = nullptr;
    QProgressDialog* progress_ = nullptr;
    std::thread worker_;
    bool loaded_ = false;
};

// Shows the dialog (made now, gone when closed) over parent.
void showGetModules(core::IniFile& settings, QWidget* parent);

} // namespace kovara::ui
