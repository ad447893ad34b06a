#include "ui/app/sync_controller.h"

#include "core/base/exception.h"
#include "core/settings/ini_file.h"
#include "core/settings/settings_keys.h"
#include "core/sync/store_binding.h"
#include "core/sync/sync_session.h"
#include "ui/base/shell.h"
#include "ui/prayer/prayer_search.h"

#include <QDateTime>
#include <QDir>
#include <QFileSystemWatcher>
#include <QSysInfo>
#include <QTimer>

#include <algorithm>

namespace kovara::ui {

namespace settings = kovara::core::settings;
using kovara::core::Change;
using kovara::core::EntityKind;
using kovara::core::IncomingChanges;
using kovara::core::StoreBinding;
using kovara::core::SyncFolder;
using kovara::core::SyncSession;

namespace {

// A snapshot after this many changes written, so a computer that joins
// later reads one file instead of every change.
constexpr int kChangesPerSnapshot = 2000;
constexpr int kAfterLocalChangeMs = 3000;
constexpr int kAfterFolderChangeMs = 500;
constexpr int kPollMs = 60'000;

std::int64_t nowMs()
{
    // Local time, as the program's clock gives it, so kept notes show the
    // time the reader saw.
    const QDateTime now = QDateTime::currentDateTime();
    return now.toMSecsSinceEpoch() + static_cast<std::int64_t>(now.offsetFromUtc()) * 1000;
}

} // namespace

SyncController::SyncController(Shell& shell, kovara::core::IniFile& settings, QObject* parent)
    : QObject(parent), shell_(shell), settings_(settings)
{
    poll_ = new QTimer(this);
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this, &SyncController::startExchange);
    afterChange_ = new QTimer(this);
    afterChange_->setSingleShot(true);
    connect(afterChange_, &QTimer::timeout, this, &SyncController::startExchange);
    ObservableSession& session = shell_.session();
    connect(&session, &ObservableSession::plansChanged, this, [this] { scheduleLocalChange(StoreBinding::Plans); });
    connect(&session, &ObservableSession::prayersChanged, this,
            [this] { scheduleLocalChange(StoreBinding::Prayers); });
    connect(&session, &ObservableSession::storesReplaced, this,
            [this] { scheduleLocalChange(StoreBinding::Everything); });
}

SyncController::~SyncController() { stop(); }

QString SyncController::defaultComputerName()
{
    const QString host = QSysInfo::machineHostName();
    return host.isEmpty() ? tr("This computer") : host;
}

QString SyncController::keptCopiesText(int count)
{
    return tr("%n text(s) changed on two computers at once were kept as dated notes beside the newer text.", nullptr,
              count);
}

void SyncController::runOnWorker(std::function<void()> work)
{
    QMetaObject::invokeMethod(worker_, std::move(work), Qt::QueuedConnection);
}

void SyncController::stop()
{
    poll_->stop();
    afterChange_->stop();
    delete watcher_;
    watcher_ = nullptr;
    if (thread_.isRunning()) {
        thread_.quit();
        thread_.wait();
    }
    worker_ = nullptr;
    folder_.reset();
    if (session_) {
        try {
            session_->save();
        } catch (const kovara::core::Exception&) {
            // what was not kept is read again from the folder next time
        }
    }
    session_.reset();
    busy_ = again_ = false;
}

void SyncController::applySettings()
{
    const bool enabled = settings::kSyncEnabled.read(settings_);
    const std::string folder = settings::kSyncFolder.read(settings_);
    std::string name = settings::kSyncComputerName.read(settings_);
    if (name.empty())
        name = defaultComputerName().toStdString();
    if (!enabled || folder.empty()) {
        stop();
        return;
    }
    if (session_ && folder_ && folder_->folder() == folder && computerName_ == name)
        return;
    stop();
    std::string id = settings::kSyncComputerId.read(settings_);
    if (id.empty()) {
        id = kovara::core::newComputerId();
        settings::kSyncComputerId.write(settings_, id);
    }
    computerName_ = name;
    session_ = std::make_unique<SyncSession>(shell_.userDataFolder() + "sync-state.kvsession", id);
    session_->load();
    folder_ = std::make_unique<SyncFolder>(folder, id);
    changesSinceSnapshot_ = kChangesPerSnapshot; // the first exchange compacts this computer's files
    localChanges_ = StoreBinding::Everything;
    worker_ = new QObject;
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start(QThread::LowPriority);
    watcher_ = new QFileSystemWatcher(this);
    auto soon = [this] { afterChange_->start(std::min(afterChange_->isActive() ? afterChange_->remainingTime()
                                                                                  : kAfterFolderChangeMs,
                                                       kAfterFolderChangeMs)); };
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, soon);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, soon);
    poll_->start();
    startExchange();
}

void SyncController::scheduleLocalChange(unsigned scope)
{
    if (session_ && !applying_) {
        localChanges_ |= scope;
        afterChange_->start(kAfterLocalChangeMs);
    }
}

void SyncController::exchangeNow() { startExchange(); }

void SyncController::watchFolder()
{
    if (!watcher_ || !folder_)
        return;
    QStringList paths;
    const QString root = QString::fromStdString(folder_->folder().string());
    paths << root;
    const QDir dir(root);
    for (const QString& computer : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString sub = dir.filePath(computer);
        paths << sub;
        for (const QString& file : QDir(sub).entryList(QDir::Files))
            if (SyncFolder::isExchangeFile(file.toStdString()))
                paths << QDir(sub).filePath(file);
    }
    QStringList missing;
    const QStringList watched = watcher_->files() + watcher_->directories();
    for (const QString& path : paths)
        if (!watched.contains(path))
            missing << path;
    if (!missing.isEmpty()) {
        watcher_->addPaths(missing);
        // A file or folder another computer made between the last look and
        // now raised no event: look once more, or it waits for the poll.
        if (!afterChange_->isActive())
            afterChange_->start(kAfterFolderChangeMs);
    }
}

void SyncController::report(const QString& text)
{
    // A problem that goes on is told once, not at every look at the folder.
    if (text == lastProblem_)
        return;
    lastProblem_ = text;
    emit message(text);
}

void SyncController::startExchange()
{
    if (!session_)
        return;
    if (busy_) {
        again_ = true;
        return;
    }
    std::vector<Change> changes;
    try {
        if (localChanges_) {
            StoreBinding binding(shell_.planStore(), shell_.prayerStore(), plainTextOfDocument);
            changes = session_->captureLocal(binding, computerName_, nowMs(), localChanges_);
            localChanges_ = 0;
        }
    } catch (const kovara::core::Exception&) {
        // A store that is busy or held closed (a backup): tried again soon.
        afterChange_->start(kAfterLocalChangeMs);
        return;
    }
    changesSinceSnapshot_ += static_cast<int>(changes.size());
    const bool snapshot = changesSinceSnapshot_ >= kChangesPerSnapshot;
    std::string stateBytes = snapshot ? session_->state().toBytes() : std::string();
    busy_ = true;
    SyncFolder* folder = folder_.get();
    runOnWorker([this, folder, changes = std::move(changes), stateBytes = std::move(stateBytes),
                 positions = session_->positions()]() mutable {
        QString problem;
        bool written = true;
        try {
            if (!stateBytes.empty() || folder->ownFilesMissing()) {
                // A snapshot holds every change made so far: the ones just
                // made go in a change file after it all the same.
                if (stateBytes.empty())
                    written = false; // ask for one
                else
                    folder->writeSnapshot(stateBytes);
            }
            folder->write(changes);
        } catch (const kovara::core::Exception& e) {
            problem = QString::fromStdString(e.what());
            written = false;
        }
        IncomingChanges incoming;
        bool read = true;
        try {
            folder->setPositions(std::move(positions));
            incoming = folder->readOthers();
        } catch (const kovara::core::Exception& e) {
            if (problem.isEmpty())
                problem = QString::fromStdString(e.what());
            read = false;
        }
        const SyncFolder::Positions after = folder->positions();
        QMetaObject::invokeMethod(
            this,
            [this, incoming = std::move(incoming), after, problem, written, read, snapshotWritten = !stateBytes.empty(),
             sent = written && !changes.empty()] {
                busy_ = false;
                if (!session_)
                    return;
                if (snapshotWritten && written)
                    changesSinceSnapshot_ = 0;
                else if (!written)
                    changesSinceSnapshot_ = kChangesPerSnapshot; // the next exchange writes everything
                if (!problem.isEmpty())
                    report(problem);
                else
                    lastProblem_.clear();
                if (read)
                    takeIn(incoming, after, sent);
                watchFolder();
                if (again_) {
                    again_ = false;
                    startExchange();
                }
            },
            Qt::QueuedConnection);
    });
}

void SyncController::takeIn(const IncomingChanges& incoming, const SyncFolder::Positions& positions, bool sent)
{
    session_->setPositions(positions);
    SyncSession::Outcome outcome;
    try {
        StoreBinding binding(shell_.planStore(), shell_.prayerStore(), plainTextOfDocument);
        outcome = session_->takeIn(incoming, binding, nowMs());
    } catch (const kovara::core::Exception& e) {
        report(QString::fromStdString(e.what()));
        afterChange_->start(kAfterLocalChangeMs); // the stores catch up at the next exchange
    }
    bool plans = false, prayers = false;
    for (const auto& key : outcome.written)
        (key.first == EntityKind::Plan ? plans : prayers) = true;
    applying_ = true;
    if (plans)
        shell_.session().notifyPlansChanged();
    if (prayers)
        shell_.session().notifyPrayersChanged();
    applying_ = false;
    if (outcome.keptCopies > 0)
        emit message(keptCopiesText(outcome.keptCopies));
    if (!outcome.toSend.empty()) {
        // The kept notes are in the state already: the next exchange's
        // capture finds nothing new for them, so they are written here.
        runOnWorker([folder = folder_.get(), changes = outcome.toSend] {
            try {
                folder->write(changes);
            } catch (const kovara::core::Exception&) {
                // sent with the next snapshot
            }
        });
    }
    if (incoming.empty() && !sent)
        return; // nothing went either way: nothing to keep
    try {
        session_->save();
    } catch (const kovara::core::Exception& e) {
        report(QString::fromStdString(e.what()));
    }
    try {
        settings::kSyncLastExchange.write(
            settings_, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString());
    } catch (const kovara::core::Exception&) {
        // only the time shown in the preferences
    }
    emit exchanged();
}

} // namespace kovara::ui
