#pragma once
// "Bible Versions": the Bibles of the SWORD library on this computer, and
// the import of one into a Kovara Bible file in the user data folder (done
// once; again when the module's version changes). The library is read the
// first time the dialog is shown, never before.
#include "core/sword/sword_backend.h"

#include <QDialog>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class QLabel;
class QProgressDialog;
class QPushButton;
class QTableWidget;

namespace kovara::ui {

class BibleVersionsDialog : public QDialog {
    Q_OBJECT
public:
    // Imported Bibles go to <userDataFolder>/bibles/<module>.kova2.
    explicit BibleVersionsDialog(const std::string& userDataFolder, QWidget* parent = nullptr);
    ~BibleVersionsDialog() override;

    // The file a module's Bible is (or will be) imported to.
    std::string fileFor(const std::string& module) const;

    // Imports the Bible of the chosen row (or of the module named), with a
    // progress window that can cancel it. Runs the import on a thread of its
    // own; importFinished tells the outcome.
    void importSelected();
    void importModule(const std::string& module);

signals:
    // ok: the file is complete; cancelled: nothing changed; otherwise
    // message says why it failed.
    void importFinished(const QString& module, bool ok, bool cancelled, const QString& message);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void loadLibrary();
    void fillTable();
    void finishImport(const QString& module, bool ok, bool cancelled, const QString& message);

    std::string folder_;
    std::unique_ptr<core::SwordBackend> backend_;
    std::vector<core::SwordModuleInfo> bibles_;
    QLabel* message_ = nullptr;
    QTableWidget* table_ = nullptr;
    QPushButton* importButton_ = nullptr;
    QProgressDialog* progress_ = nullptr;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    bool loaded_ = false;
};

// Where Bibles imported from the SWORD library are kept: <userDataFolder>/bibles.
std::string bibleVersionsFolder(const std::string& userDataFolder);

// Shows the dialog (made now, gone when closed) over parent.
void showBibleVersions(const std::string& userDataFolder, QWidget* parent);

} // namespace kovara::ui
