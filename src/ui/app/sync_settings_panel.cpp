#include "ui/app/sync_settings_panel.h"

#include "core/settings/ini_file.h"
#include "core/settings/settings_keys.h"
#include "ui/app/sync_controller.h"
#include "ui/base/error_guard.h"
#include "ui/base/shell.h"

#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kovara::ui {

namespace settings = kovara::core::settings;

SyncSettingsPanel::SyncSettingsPanel(QWidget* parent) : QGroupBox(tr("Other computers"), parent)
{
    setObjectName(QStringLiteral("SyncSettings"));
    enableCheck_ = new QCheckBox(tr("Keep my plans and prayers in step through this folder"));
    enableCheck_->setObjectName(QStringLiteral("SyncEnableCheck"));
    folderEdit_ = new QLineEdit;
    folderEdit_->setObjectName(QStringLiteral("SyncFolderEdit"));
    folderEdit_->setAccessibleName(tr("Sync folder"));
    folderEdit_->setPlaceholderText(tr("A folder that Syncthing, Nextcloud or another service keeps in step"));
    // Wide enough for a usual folder path (/home/<name>/Sync/Kovara and the
    // like); a longer one is shown whole in the field's tip.
    folderEdit_->setMinimumWidth(folderEdit_->fontMetrics().averageCharWidth() * 40);
    connect(folderEdit_, &QLineEdit::textChanged, folderEdit_, &QLineEdit::setToolTip);
    chooseButton_ = new QPushButton(tr("Choose..."));
    chooseButton_->setObjectName(QStringLiteral("SyncChooseButton"));
    nameEdit_ = new QLineEdit;
    nameEdit_->setObjectName(QStringLiteral("SyncComputerNameEdit"));
    nameEdit_->setAccessibleName(tr("This computer's name"));
    lastExchangeLabel_ = new QLabel;
    lastExchangeLabel_->setObjectName(QStringLiteral("SyncLastExchangeLabel"));

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folderEdit_, 1);
    folderRow->addWidget(chooseButton_);
    auto* form = new QFormLayout(this);
    form->addRow(enableCheck_);
    form->addRow(tr("Folder:"), folderRow);
    form->addRow(tr("This computer's name:"), nameEdit_);
    form->addRow(tr("Last exchange:"), lastExchangeLabel_);

    connect(chooseButton_, &QPushButton::clicked, this, &SyncSettingsPanel::chooseFolder);
    connect(enableCheck_, &QCheckBox::toggled, this, &SyncSettingsPanel::updateControls);
}

void SyncSettingsPanel::load(const kovara::core::IniFile& ini)
{
    enableCheck_->setChecked(settings::kSyncEnabled.read(ini));
    folderEdit_->setText(QString::fromStdString(settings::kSyncFolder.read(ini)));
    const QString name = QString::fromStdString(settings::kSyncComputerName.read(ini));
    nameEdit_->setText(name.isEmpty() ? SyncController::defaultComputerName() : name);
    const QString last = QString::fromStdString(settings::kSyncLastExchange.read(ini));
    lastExchangeLabel_->setText(last.isEmpty() ? tr("Never") : last);
    updateControls();
}

void SyncSettingsPanel::apply(kovara::core::IniFile& ini) const
{
    const QString folder = folderEdit_->text().trimmed();
    settings::kSyncEnabled.write(ini, enableCheck_->isChecked() && !folder.isEmpty());
    settings::kSyncFolder.write(ini, folder.toStdString());
    settings::kSyncComputerName.write(ini, nameEdit_->text().trimmed().toStdString());
}

void SyncSettingsPanel::chooseFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Sync Folder"), folderEdit_->text());
    if (!folder.isEmpty()) {
        folderEdit_->setText(folder);
        enableCheck_->setChecked(true);
    }
}

void SyncSettingsPanel::updateControls()
{
    const bool on = enableCheck_->isChecked();
    folderEdit_->setEnabled(on);
    chooseButton_->setEnabled(on);
    nameEdit_->setEnabled(on);
}

SyncSettingsPanel* makeSyncSection(QDialog& dialog, SyncController& controller, Shell& shell,
                                   kovara::core::IniFile& ini)
{
    auto* panel = new SyncSettingsPanel(&dialog);
    runGuarded(shell.dialogs(), [&] { panel->load(ini); });
    QObject::connect(&dialog, &QDialog::accepted, panel, [panel, &controller, &shell, &ini] {
        runGuarded(shell.dialogs(), [&] {
            panel->apply(ini);
            controller.applySettings();
        });
    });
    return panel;
}

} // namespace kovara::ui
