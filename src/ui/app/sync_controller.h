#pragma once
// Keeps the reader's plans and prayers in step through a synced folder while
// Kovara runs: at start, when the folder changes (a file watcher, and a look
// once a minute for folders that raise no events), and a few seconds after
// each local change. The folder is read and written on a thread of its own;
// comparing and writing the stores (fast, in their own transactions) runs
// on the window's thread between events, so the window never waits for the
// folder. Changes that arrive are announced through the observable session,
// so every page refreshes itself.
#include "core/sync/sync_folder.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <functional>
#include <memory>

class QFileSystemWatcher;
class QTimer;

namespace kovara::core {
class IniFile;
class SyncSession;
}

namespace kovara::ui {

class Shell;

class SyncController : public QObject {
    Q_OBJECT
public:
    SyncController(Shell& shell, kovara::core::IniFile& settings, QObject* parent = nullptr);
    ~SyncController() override;

    // Starts or stops following the settings (enabled, folder, name). Turning
    // it on merges both sides at once; turning it off leaves both as they are.
    void applySettings();
    bool isRunning() const { return session_ != nullptr; }
    // An exchange now (tests, and the settings' OK).
    void exchangeNow();
    // The default name of this computer: its host name.
    static QString defaultComputerName();
    // What the status line says when count texts typed on two computers at
    // once were kept as dated notes.
    static QString keptCopiesText(int count);

signals:
    // For the status bar: a problem with the folder, or texts kept as notes.
    void message(const QString& text);
    // After each exchange that reached the folder.
    void exchanged();

private:
    void stop();
    void scheduleLocalChange(unsigned scope);
    void watchFolder();
    // Reads and writes the folder on the worker thread; then back here.
    void startExchange();
    // sent: this exchange wrote changes to the folder.
    void takeIn(const kovara::core::IncomingChanges& incoming, const kovara::core::SyncFolder::Positions& positions,
                bool sent);
    void report(const QString& text);
    void runOnWorker(std::function<void()> work);

    Shell& shell_;
    kovara::core::IniFile& settings_;
    QThread thread_;
    QObject* worker_ = nullptr; // lives on thread_
    std::unique_ptr<kovara::core::SyncFolder> folder_; // used on thread_ only
    std::unique_ptr<kovara::core::SyncSession> session_;
    std::string computerName_;
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* poll_ = nullptr;
    QTimer* afterChange_ = nullptr;
    bool busy_ = false;     // an exchange is under way
    bool again_ = false;    // another was asked for meanwhile
    bool applying_ = false; // this controller is announcing what arrived
    // The stores (StoreBinding::Scope) that may have changed here since the
    // last look at them (a page announced a change, or the program
    // started): only those are compared, so a look at a quiet folder costs
    // next to nothing and a day marked read does not read the journal.
    unsigned localChanges_ = 0;
    int changesSinceSnapshot_ = 0;
    QString lastProblem_;
};

} // namespace kovara::ui
