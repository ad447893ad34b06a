#pragma once
// One copy of the program per user data folder. Two copies on the same
// folder would open the same databases, both offer the version-1 import, and
// a restore in one would pull the files from under the other.
//
// The copy that runs holds an advisory lock (flock) on "kovara.lock" in the
// user data folder for as long as it has the stores open, and listens on a
// Unix socket in the abstract namespace whose name is made from the folder's
// path. A copy started after it finds the lock held, asks the running copy
// through the socket to bring its main window forward, and ends.
//
// The kernel drops the lock and the socket with the process that held them,
// so whatever a killed copy left behind (its lock file, its owner's process
// id and host in it, a folder or a link by that name) never blocks a start. Nothing is flushed to disk: the lock lives
// in the kernel, the file is only its name. Plain sockets keep QtNetwork and
// the libraries it pulls in out of the program's start-up.
//
// In main, in outline:
//   SingleInstance instance(userDataFolder);
//   switch (instance.claim()) { ... }  // a message box for ReadOnly and Unreachable
//   if not First or Unguarded: return
//   ... make the main window ...
//   instance.raiseOnRequest(window);
//   QApplication::exec();
//   instance.stopListening();
//   ... free the main window; the lock goes with instance ...
#include "ui/base/core_names.h"
#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <chrono>
#include <memory>

class QSocketNotifier;
class QWidget;

namespace kovara::ui {

class SingleInstance : public QObject {
    Q_OBJECT

public:
    // How claim() ended.
    enum class Claimed {
        First,       // this copy holds the lock and answers later starts
        HandedOver,  // another copy runs and was asked to come forward
        Unreachable, // another copy holds the lock but could not be asked
        Unguarded,   // no lock can be made or taken in the folder (a file
                     // system without locks); no copy answered
        ReadOnly,    // the folder cannot be written: nothing could be saved
    };

    // userDataFolder must exist; a trailing separator is allowed.
    explicit SingleInstance(const QString& userDataFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock and starts listening, or asks the copy that holds it to
    // come forward (and to open reference, when there is one). While the lock is held and the holder cannot be reached
    // yet (it may still be starting, or just ending), both are tried again
    // until patience runs out.
    Claimed claim(std::chrono::milliseconds patience = std::chrono::seconds(5), const QString& reference = {});

    // Shows, un-minimises, raises and activates window at each request from
    // a later start.
    void raiseOnRequest(QWidget* window);

    // Stops answering later starts while the lock is still held: from the
    // moment the main window has closed, a later start waits for the lock
    // instead of asking a window that is going away.
    void stopListening();

    QString lockFileName() const { return lockFileName_; }

    // What the reader is told when claim() ended with how, and what to do:
    // for ReadOnly and Unreachable, where the program does not start, and for
    // Unguarded, where it starts without the check. Empty for the others.
    QString message(Claimed how) const;
    QString serverName() const { return serverName_; }

    // The socket name for a user data folder (in the abstract namespace,
    // without its leading NUL): the same folder always gives the same name,
    // different folders (users, HOMEs) different ones.
    static QString serverNameFor(const QString& userDataFolder);

    // What a request does to the main window: and to a modal dialog open
    // over it, which must stay in front.
    static void bringForward(QWidget* window);

signals:
    // A later start asked this copy to come forward.
    void activationRequested();
    // ... and handed a reference to open (after activationRequested).
    void referenceRequested(const QString& reference);

private:
    // Opens the lock file and takes the lock without waiting; true when held.
    // Sets unguarded_ when no lock file can be opened at all, or the file
    // system refuses locks. A link by the lock's name is removed (the name is
    // the program's own), never followed.
    bool tryLock();
    void unlock();
    bool askRunningCopy(const QString& reference);
    void listen();
    void onNewConnection();
    void readRequest(int socket, QSocketNotifier* notifier);

    // "process 123 on host" from the lock file, or empty.
    QString holder() const;

    QString folder_;
    QString lockFileName_;
    QString serverName_;
    int lockFd_ = -1;
    bool unguarded_ = false;
    int serverFd_ = -1;
    QSocketNotifier* server_ = nullptr;
    // What each connection has sent so far, until it closes.
    QHash<int, QByteArray> pending_;
};

} // namespace kovara::ui
