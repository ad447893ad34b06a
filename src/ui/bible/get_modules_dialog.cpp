#include "ui/bible/get_modules_dialog.h"

#include "core/settings/ini_file.h"
#include "core/settings/settings_keys.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <map>

namespace kovara::ui {

namespace {
enum Column { NameColumn, DescriptionColumn, TypeColumn, SizeColumn, StateColumn, ColumnCount };
enum TypeFilter { BiblesAndCommentaries, BiblesOnly, CommentariesOnly, Everything };

QString typeName(core::SwordModuleType type)
{
    switch (type) {
    case core::SwordModuleType::Bible:
        return GetModulesDialog::tr("Bible");
    case core::SwordModuleType::Commentary:
        return GetModulesDialog::tr("Commentary");
    case core::SwordModuleType::Dictionary:
        return GetModulesDialog::tr("Dictionary");
    case core::SwordModuleType::Other:
        break;
    }
    return GetModulesDialog::tr("Other");
}

bool shown(core::SwordModuleType type, int filter)
{
    switch (filter) {
    case BiblesAndCommentaries:
        return type == core::SwordModuleType::Bible || type == core::SwordModuleType::Commentary;
    case BiblesOnly:
        return type == core::SwordModuleType::Bible;
    case CommentariesOnly:
        return type == core::SwordModuleType::Commentary;
    default:
        return true;
    }
}

// "Spanish (es)" where the locale knows the code, else the code.
QString languageName(const std::string& code)
{
    if (code.empty())
        return GetModulesDialog::tr("Language not given");
    const QString c = QString::fromStdString(code);
    const QLocale locale(c);
    const QString name = locale.language() == QLocale::C ? QString() : QLocale::languageToString(locale.language());
    return name.isEmpty() ? c : QStringLiteral("%1 (%2)").arg(name, c);
}
} // namespace

GetModulesDialog::GetModulesDialog(core::IniFile& settings, const std::string& swordHome, QWidget* parent,
                                   std::function<bool()> askToConnect)
    : QDialog(parent), settings_(settings), swordHome_(swordHome), askToConnect_(std::move(askToConnect))
{
    setObjectName(QStringLiteral("getModulesDialog"));
    setWindowTitle(tr("Get Bibles and Commentaries"));
    auto* layout = new QVBoxLayout(this);
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("getModulesMessage"));
    message_->setWordWrap(true);
    layout->addWidget(message_);

    auto* top = new QHBoxLayout;
    auto* sourceLabel = new QLabel(tr("&Source:"), this);
    sources_ = new QComboBox(this);
    sources_->setObjectName(QStringLiteral("sourceBox"));
    sourceLabel->setBuddy(sources_);
    refreshButton_ = new QPushButton(tr("&Refresh List"), this);
    refreshButton_->setObjectName(QStringLiteral("refreshButton"));
    addSourceButton_ = new QPushButton(tr("&Add Source..."), this);
    addSourceButton_->setObjectName(QStringLiteral("addSourceButton"));
    auto* typeLabel = new QLabel(tr("&Show:"), this);
    types_ = new QComboBox(this);
    types_->setObjectName(QStringLiteral("typeBox"));
    types_->addItems({tr("Bibles and commentaries"), tr("Bibles"), tr("Commentaries"), tr("Everything")});
    typeLabel->setBuddy(types_);
    top->addWidget(sourceLabel);
    top->addWidget(sources_, 1);
    top->addWidget(refreshButton_);
    top->addWidget(addSourceButton_);
    top->addSpacing(12);
    top->addWidget(typeLabel);
    top->addWidget(types_);
    layout->addLayout(top);

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("moduleTree"));
    tree_->setColumnCount(ColumnCount);
    tree_->setHeaderLabels({tr("Module"), tr("Description"), tr("Type"), tr("Size"), tr("State")});
    tree_->setAccessibleName(tr("Modules by language"));
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setSortingEnabled(false);
    layout->addWidget(tree_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    installButton_ = buttons->addButton(tr("&Install"), QDialogButtonBox::ActionRole);
    installButton_->setObjectName(QStringLiteral("installButton"));
    removeButton_ = buttons->addButton(tr("Re&move"), QDialogButtonBox::ActionRole);
    removeButton_->setObjectName(QStringLiteral("removeButton"));
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(refreshButton_, &QPushButton::clicked, this, &GetModulesDialog::refreshSource);
    connect(installButton_, &QPushButton::clicked, this, &GetModulesDialog::installSelected);
    connect(removeButton_, &QPushButton::clicked, this, &GetModulesDialog::removeSelected);
    connect(addSourceButton_, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QString address = QInputDialog::getText(
            this, tr("Add Source"),
            tr("The address of a SWORD repository, for example https://example.org/sword (HTTP, HTTPS, FTP or SFTP):"),
            QLineEdit::Normal, QString(), &ok);
        if (!ok || address.trimmed().isEmpty())
            return;
        const QUrl url(address.trimmed());
        core::SwordSource source;
        source.type = url.scheme().toUpper().toStdString();
        source.host = (url.port() > 0 ? QStringLiteral("%1:%2").arg(url.host()).arg(url.port()) : url.host()).toStdString();
        source.directory = url.path().isEmpty() ? std::string("/") : url.path().toStdString();
        source.caption = url.host().toStdString();
        addSource(source);
    });
    connect(sources_, &QComboBox::currentIndexChanged, this, [this] { fillModules(); });
    connect(types_, &QComboBox::currentIndexChanged, this, [this] { fillModules(); });
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &GetModulesDialog::updateButtons);
    resize(760, 480);
    updateButtons();
}

GetModulesDialog::~GetModulesDialog()
{
    if (installer_)
        installer_->cancel();
    if (worker_.joinable())
        worker_.join();
}

void GetModulesDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!loaded_)
        load();
}

void GetModulesDialog::load()
{
    loaded_ = true;
    try {
        installer_ = core::loadSwordInstaller(swordHome_);
    } catch (const std::exception& e) {
        message_->setText(QString::fromUtf8(e.what()));
        updateButtons();
        return;
    }
    message_->setText(tr("Bibles and commentaries from the SWORD repositories are installed into %1, where Kovara "
                         "and other Bible programs find them. Choose a source and refresh its list.")
                          .arg(QString::fromStdString(swordHome_)));
    fillSources();
}

bool GetModulesDialog::mayConnect()
{
    if (core::settings::kSwordInternetAllowed.read(settings_))
        return true;
    const bool yes = askToConnect_
                         ? askToConnect_()
                         : QMessageBox::question(
                               this, tr("Connect to the Internet?"),
                               tr("To list and fetch modules, Kovara connects to the SWORD repositories over the "
                                  "internet. The repositories, and anyone who watches the connection, can see that "
                                  "this computer asks for Bible modules. In places where reading the Bible is "
                                  "dangerous, do not connect.\n\nKovara works fully without connecting. Connect now?"),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    if (yes) {
        try {
            core::settings::kSwordInternetAllowed.write(settings_, true);
        } catch (const std::exception&) {
            // Asked again next time; this time the answer holds.
        }
    }
    return yes;
}

void GetModulesDialog::fillSources()
{
    const QString current = currentSource();
    sources_->blockSignals(true);
    sources_->clear();
    for (const core::SwordSource& s : installer_->sources())
        sources_->addItem(QString::fromStdString(s.caption));
    const int at = sources_->findText(current);
    sources_->setCurrentIndex(at >= 0 ? at : 0);
    sources_->blockSignals(false);
    if (sources_->count() == 0)
        message_->setText(tr("No sources are listed yet. Refresh List fetches SWORD's list of standard sources; "
                             "Add Source... adds another."));
    fillModules();
}

QString GetModulesDialog::currentSource() const
{
    return sources_->currentText();
}

void GetModulesDialog::fillModules()
{
    tree_->clear();
    modules_.clear();
    if (installer_ && !currentSource().isEmpty()) {
        try {
            modules_ = installer_->modules(currentSource().toStdString());
        } catch (const std::exception& e) {
            message_->setText(QString::fromUtf8(e.what()));
        }
    }
    std::map<QString, QTreeWidgetItem*> languages;
    for (const core::SwordRemoteModule& m : modules_) {
        if (!shown(m.info.type, types_->currentIndex()))
            continue;
        const QString language = languageName(m.info.language);
        QTreeWidgetItem*& group = languages[language];
        if (!group) {
            group = new QTreeWidgetItem(tree_, {language});
            group->setFlags(Qt::ItemIsEnabled);
            QFont bold = group->font(0);
            bold.setBold(true);
            group->setFont(0, bold);
        }
        const QString state = !m.installed     ? QString()
                              : m.newer        ? tr("Update to %1").arg(QString::fromStdString(m.info.version))
                              : m.inUserFolder ? tr("Installed")
                                               : tr("Installed by the system");
        auto* item = new QTreeWidgetItem(
            group, {QString::fromStdString(m.info.name), QString::fromStdString(m.info.description),
                    typeName(m.info.type), m.size > 0 ? QLocale().formattedDataSize(m.size) : QString(), state});
        item->setData(NameColumn, Qt::UserRole, QString::fromStdString(m.info.name));
        item->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
    }
    tree_->sortItems(NameColumn, Qt::AscendingOrder);
    if (languages.size() <= 3)
        tree_->expandAll();
    for (const int column : {NameColumn, TypeColumn, SizeColumn, StateColumn})
        tree_->resizeColumnToContents(column);
    tree_->setColumnWidth(DescriptionColumn, 260);
    updateButtons();
}

QString GetModulesDialog::selectedModule() const
{
    const QTreeWidgetItem* item = tree_->currentItem();
    return item ? item->data(NameColumn, Qt::UserRole).toString() : QString();
}

void GetModulesDialog::selectModule(const QString& name)
{
    for (QTreeWidgetItemIterator it(tree_); *it; ++it)
        if ((*it)->data(NameColumn, Qt::UserRole).toString() == name) {
            (*it)->parent()->setExpanded(true);
            tree_->setCurrentItem(*it);
            return;
        }
}

void GetModulesDialog::updateButtons()
{
    const bool idle = installer_ && !worker_.joinable();
    const QString name = selectedModule();
    const core::SwordRemoteModule* m = nullptr;
    for (const core::SwordRemoteModule& each : modules_)
        if (QString::fromStdString(each.info.name) == name)
            m = &each;
    refreshButton_->setEnabled(idle);
    addSourceButton_->setEnabled(idle);
    installButton_->setEnabled(idle && m && (!m->inUserFolder || m->newer));
    installButton_->setText(m && m->newer ? tr("&Update") : tr("&Install"));
    removeButton_->setEnabled(idle && m && m->inUserFolder);
}

void GetModulesDialog::addSource(const core::SwordSource& source)
{
    if (!installer_)
        return;
    try {
        installer_->addSource(source);
    } catch (const std::exception& e) {
        message_->setText(tr("The source was not added: %1").arg(QString::fromUtf8(e.what())));
        return;
    }
    fillSources();
    sources_->setCurrentIndex(sources_->findText(QString::fromStdString(source.caption)));
}

void GetModulesDialog::refreshSource()
{
    if (!installer_ || worker_.joinable() || !mayConnect())
        return;
    const std::string source = currentSource().toStdString();
    core::SwordInstaller* installer = installer_.get();
    if (source.empty()) {
        runTransfer(tr("Fetching the list of SWORD's sources..."), [installer] {
            installer->refreshSourceList();
            return true;
        });
        return;
    }
    runTransfer(tr("Fetching the list of %1...").arg(currentSource()),
                [installer, source] { return installer->refresh(source); });
}

void GetModulesDialog::installSelected()
{
    const QString module = selectedModule();
    if (!installer_ || worker_.joinable() || module.isEmpty() || !mayConnect())
        return;
    core::SwordInstaller* installer = installer_.get();
    runTransfer(tr("Installing %1...").arg(module),
                [installer, source = currentSource().toStdString(), name = module.toStdString()] {
                    return installer->install(source, name);
                });
}

void GetModulesDialog::removeSelected()
{
    const QString module = selectedModule();
    if (!installer_ || worker_.joinable() || module.isEmpty())
        return;
    QString message;
    try {
        installer_->remove(module.toStdString());
    } catch (const std::exception& e) {
        message = QString::fromUtf8(e.what());
    }
    fillModules();
    selectModule(module);
    message_->setText(message.isEmpty() ? tr("%1 is removed.").arg(module) : message);
    emit workFinished(message.isEmpty(), false, message);
}

void GetModulesDialog::runTransfer(const QString& what, std::function<bool()> work)
{
    progress_ = new QProgressDialog(what, tr("Cancel"), 0, 0, this);
    progress_->setObjectName(QStringLiteral("transferProgress"));
    progress_->setWindowTitle(windowTitle());
    progress_->setMinimumDuration(0);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    core::SwordInstaller* installer = installer_.get();
    connect(progress_, &QProgressDialog::canceled, this, [installer] { installer->cancel(); });
    QPointer<QProgressDialog> bar(progress_);
    installer_->setProgress([bar](std::int64_t done, std::int64_t total, const std::string&) {
        QMetaObject::invokeMethod(
            qApp,
            [bar, done, total] {
                if (!bar)
                    return;
                // Kilobytes keep large files within the bar's int range.
                bar->setMaximum(static_cast<int>(total / 1024));
                bar->setValue(static_cast<int>(done / 1024));
            },
            Qt::QueuedConnection);
    });
    QPointer<GetModulesDialog> self(this);
    worker_ = std::thread([self, work = std::move(work)] {
        bool ok = false, cancelled = false;
        QString message;
        try {
            ok = work();
            cancelled = !ok;
        } catch (const std::exception& e) {
            message = QString::fromUtf8(e.what());
        }
        QMetaObject::invokeMethod(
            qApp,
            [self, ok, cancelled, message] {
                if (self)
                    self->finishTransfer(ok, cancelled, message);
            },
            Qt::QueuedConnection);
    });
    updateButtons();
}

void GetModulesDialog::finishTransfer(bool ok, bool cancelled, const QString& message)
{
    if (worker_.joinable())
        worker_.join();
    worker_ = std::thread();
    installer_->setProgress({});
    if (progress_) {
        progress_->deleteLater();
        progress_ = nullptr;
    }
    const QString module = selectedModule();
    fillSources();
    if (!module.isEmpty())
        selectModule(module);
    if (cancelled)
        message_->setText(tr("Cancelled; nothing was changed."));
    else if (!ok)
        message_->setText(message);
    else
        message_->setText(tr("Done."));
    emit workFinished(ok, cancelled, message);
}

void showGetModules(core::IniFile& settings, QWidget* parent)
{
    auto* dialog = new GetModulesDialog(settings, core::userSwordFolder(), parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

} // namespace kovara::ui
