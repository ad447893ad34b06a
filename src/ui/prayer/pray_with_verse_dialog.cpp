#include "ui/prayer/pray_with_verse_dialog.h"

#include "core/prayer/prayer_list_store.h"
#include "core/prayer/prayer_store.h"
#include "ui/base/dialogs.h"
#include "ui/base/shell.h"
#include "ui/base/text_codec.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kovara::ui {

PrayWithVerseDialog::PrayWithVerseDialog(Shell& shell, const QString& reference, QWidget* parent)
    : QDialog(parent), shell_(shell), reference_(reference)
{
    setObjectName(QStringLiteral("prayWithVerseDialog"));
    setWindowTitle(tr("Pray with This Verse - Kovara"));
    label_ = new QLabel(tr("Which prayer do you want to pray with %1?").arg(reference_), this);
    label_->setWordWrap(true);
    itemList_ = new QListWidget(this);
    itemList_->setObjectName(QStringLiteral("prayerItemList"));
    itemList_->setAccessibleName(tr("Active prayer items"));
    label_->setBuddy(itemList_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Ok)->setText(tr("&Attach Verse"));
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(false);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(itemList_, &QListWidget::currentRowChanged, this,
            [this](int row) { buttons_->button(QDialogButtonBox::Ok)->setEnabled(row >= 0); });
    connect(itemList_, &QListWidget::itemActivated, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(itemList_, 1);
    layout->addWidget(buttons_);
    resize(420, 360);
}

int PrayWithVerseDialog::runModal()
{
    return exec();
}

std::optional<std::int32_t> PrayWithVerseDialog::chooseAndAttach()
{
    PrayerStore& store = shell_.prayerStore();
    itemList_->clear();
    for (const PrayerHeader& item : store.prayerHeadersByTopic(PrayerStatus::Active)) {
        const QString title = fromBytes(item.prayerTitle);
        auto* row = new QListWidgetItem(item.prayerTopic.empty()
                                            ? title
                                            : tr("%1 (%2)").arg(title, fromBytes(item.prayerTopic)),
                                        itemList_);
        row->setData(Qt::UserRole, item.prayerIndex);
    }
    if (itemList_->count() == 0) {
        shell_.dialogs().message(tr("There is no active prayer item to pray with %1.").arg(reference_));
        return std::nullopt;
    }
    if (runModal() != QDialog::Accepted || !itemList_->currentItem())
        return std::nullopt;
    const std::int32_t index = itemList_->currentItem()->data(Qt::UserRole).toInt();
    PrayerListStore list(store);
    list.ensureTables(shell_.clock().today());
    if (list.addVerse(index, toBytes(reference_)))
        shell_.session().notifyPrayersChanged();
    return index;
}

} // namespace kovara::ui
