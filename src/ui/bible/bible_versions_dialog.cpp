#include "ui/bible/bible_versions_dialog.h"

#include "core/sword/imported_bibles.h"
#include "core/sword/sword_import.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace kovara::ui {

namespace {
enum Column { DescriptionColumn, NameColumn, LanguageColumn, StateColumn, ColumnCount };
}

BibleVersionsDialog::BibleVersionsDialog(const std::string& userDataFolder, QWidget* parent)
    : QDialog(parent), folder_(userDataFolder)
{
    setObjectName(QStringLiteral("bibleVersionsDialog"));
    setWindowTitle(tr("Bible Versions"));
    auto* layout = new QVBoxLayout(this);
    message_ = new QLabel(tr("The Bibles of the SWORD library on this computer. A Bible is imported once, "
                             "then it reads and searches as fast as the King James Version."),
                          this);
    message_->setObjectName(QStringLiteral("versionsMessage"));
    message_->setWordWrap(true);
    layout->addWidget(message_);
    table_ = new QTableWidget(0, ColumnCount, this);
    table_->setObjectName(QStringLiteral("versionsTable"));
    table_->setHorizontalHeaderLabels({tr("Bible"), tr("Module"), tr("Language"), tr("State")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setAccessibleName(tr("Bibles"));
    layout->addWidget(table_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    importButton_ = buttons->addButton(tr("&Import"), QDialogButtonBox::ActionRole);
    importButton_->setObjectName(QStringLiteral("importButton"));
    importButton_->setEnabled(false);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(importButton_, &QPushButton::clicked, this, &BibleVersionsDialog::importSelected);
    connect(table_, &QTableWidget::itemSelectionChanged, this,
            [this] { importButton_->setEnabled(worker_.get_id() == std::thread::id() && table_->currentRow() >= 0); });
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { importSelected(); });
    resize(640, 360);
}

BibleVersionsDialog::~BibleVersionsDialog()
{
    cancel_ = true;
    if (worker_.joinable())
        worker_.join();
}

std::string bibleVersionsFolder(const std::string& userDataFolder)
{
    return core::importedBiblesFolder(userDataFolder);
}

std::string BibleVersionsDialog::fileFor(const std::string& module) const
{
    return (std::filesystem::path(bibleVersionsFolder(folder_)) / (module + ".kova2")).string();
}

void BibleVersionsDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!loaded_)
        loadLibrary();
}

void BibleVersionsDialog::loadLibrary()
{
    loaded_ = true;
    try {
        backend_ = core::loadSwordBackend();
        bibles_.clear();
        for (core::SwordModuleInfo& m : backend_->modules())
            if (m.type == core::SwordModuleType::Bible)
                bibles_.push_back(std::move(m));
    } catch (const std::exception& e) {
        message_->setText(QString::fromUtf8(e.what()));
        return;
    }
    if (bibles_.empty())
        message_->setText(tr("No Bibles of the SWORD library are installed on this computer. Debian's packages "
                             "sword-text-* hold some; others can be installed into ~/.sword."));
    fillTable();
}

void BibleVersionsDialog::fillTable()
{
    table_->setRowCount(static_cast<int>(bibles_.size()));
    for (int row = 0; row < static_cast<int>(bibles_.size()); ++row) {
        const core::SwordModuleInfo& m = bibles_[static_cast<std::size_t>(row)];
        const std::string file = fileFor(m.name);
        const std::optional<core::SwordModuleInfo> have = core::importedModule(file);
        const QString state = !have ? tr("Not imported")
                              : core::needsImport(file, m) ? tr("A newer version can be imported")
                                                           : tr("Imported");
        const QString cells[ColumnCount] = {QString::fromStdString(m.description), QString::fromStdString(m.name),
                                            QString::fromStdString(m.language), state};
        for (int column = 0; column < ColumnCount; ++column)
            table_->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    table_->resizeColumnsToContents();
}

void BibleVersionsDialog::importSelected()
{
    const int row = table_->currentRow();
    if (row >= 0 && row < static_cast<int>(bibles_.size()))
        importModule(bibles_[static_cast<std::size_t>(row)].name);
}

void BibleVersionsDialog::importModule(const std::string& module)
{
    if (!loaded_)
        loadLibrary();
    if (!backend_ || worker_.joinable())
        return;
    const auto found = std::find_if(bibles_.begin(), bibles_.end(), [&](const auto& m) { return m.name == module; });
    if (found == bibles_.end()) {
        emit importFinished(QString::fromStdString(module), false, false,
                            tr("The Bible %1 is not installed.").arg(QString::fromStdString(module)));
        return;
    }
    const core::SwordModuleInfo info = *found;
    std::filesystem::create_directories(std::filesystem::path(fileFor(module)).parent_path());
    progress_ = new QProgressDialog(tr("Importing %1...").arg(QString::fromStdString(info.description)), tr("Cancel"),
                                   0, 100, this);
    progress_->setObjectName(QStringLiteral("importProgress"));
    progress_->setWindowTitle(tr("Bible Versions"));
    progress_->setMinimumDuration(0);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setValue(0);
    // The Cancel button and Esc (which only hides a progress window) both stop it.
    connect(progress_, &QProgressDialog::canceled, this, [this] { cancel_ = true; });
    connect(progress_, &QProgressDialog::rejected, this, [this] { cancel_ = true; });
    importButton_->setEnabled(false);
    cancel_ = false;
    QPointer<BibleVersionsDialog> self(this);
    QPointer<QProgressDialog> bar(progress_);
    const std::string file = fileFor(module);
    core::SwordBackend* backend = backend_.get();
    // The dialog's destructor joins the thread, so cancel_ outlives it.
    worker_ = std::thread([self, bar, backend, info, file, this] {
        bool ok = false, cancelled = false;
        QString message;
        try {
            const core::SwordImportResult result =
                core::importSwordBible(*backend, info, file, [&](int done, int total) {
                    const int percent = total > 0 ? done * 100 / total : 0;
                    QMetaObject::invokeMethod(
                        qApp, [bar, percent] { if (bar) bar->setValue(percent); }, Qt::QueuedConnection);
                    return !cancel_;
                });
            cancelled = result.cancelled;
            ok = !cancelled;
        } catch (const std::exception& e) {
            message = QString::fromUtf8(e.what());
        }
        QMetaObject::invokeMethod(
            qApp,
            [self, module = QString::fromStdString(info.name), ok, cancelled, message] {
                if (self)
                    self->finishImport(module, ok, cancelled, message);
            },
            Qt::QueuedConnection);
    });
}

void BibleVersionsDialog::finishImport(const QString& module, bool ok, bool cancelled, const QString& message)
{
    if (worker_.joinable())
        worker_.join();
    worker_ = std::thread();
    if (progress_) {
        progress_->deleteLater();
        progress_ = nullptr;
    }
    fillTable();
    importButton_->setEnabled(table_->currentRow() >= 0);
    if (!ok && !cancelled)
        message_->setText(tr("%1 could not be imported: %2").arg(module, message));
    else if (cancelled)
        message_->setText(tr("The import of %1 was cancelled; nothing was changed.").arg(module));
    else
        message_->setText(tr("%1 is imported.").arg(module));
    emit importFinished(module, ok, cancelled, message);
}

void showBibleVersions(const std::string& userDataFolder, QWidget* parent)
{
    auto* dialog = new BibleVersionsDialog(userDataFolder, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

} // namespace kovara::ui
