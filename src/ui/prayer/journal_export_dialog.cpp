#include "ui/prayer/journal_export_dialog.h"

#include "ui/base/dates.h"
#include "ui/base/text_codec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kovara::ui {

JournalExportDialog::JournalExportDialog(const std::vector<std::string>& topics, sys_days today, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("journalExportDialog"));
    setWindowTitle(tr("Export Prayer Journal - Kovara"));

    activeCheck_ = new QCheckBox(tr("A&ctive"), this);

    activeCheck_->setObjectName(QStringLiteral("exportActiveCheck"));
    answeredCheck_ = new QCheckBox(tr("A&nswered"), this);
    answeredCheck_->setObjectName(QStringLiteral("exportAnsweredCheck"));
    inactiveCheck_ = new QCheckBox(tr("&Inactive"), this);
    inactiveCheck_->setObjectName(QStringLiteral("exportInactiveCheck"));
    auto* statuses = new QHBoxLayout;
    for (QCheckBox* check : {activeCheck_, answeredCheck_, inactiveCheck_}) {
        check->setChecked(true);
        statuses->addWidget(check);
        connect(check, &QCheckBox::toggled, this, [this] { updateControls(); });
    }
    statuses->addStretch(1);

    topicCombo_ = new QComboBox(this);
    topicCombo_->setObjectName(QStringLiteral("exportTopicCombo"));
    topicCombo_->addItem(tr("All categories"));
    topicCombo_->addItem(tr("Without a category"));
    for (const std::string& topic : topics)
        topicCombo_->addItem(fromBytes(topic));

    dateFieldCombo_ = new QComboBox(this);
    dateFieldCombo_->setObjectName(QStringLiteral("dateFieldCombo"));
    dateFieldCombo_->addItems({tr("Any date"), tr("Created between"), tr("Answered between"),
                              tr("Created or answered between")});
    dateFieldCombo_->setCurrentIndex(static_cast<int>(PrayerSelection::DateField::CreatedOrAnswered));
    connect(dateFieldCombo_, &QComboBox::currentIndexChanged, this, [this] { updateControls(); });
    const QDate day = toQDate(today);
    fromEdit_ = new QDateEdit(QDate(day.year(), 1, 1), this);
    fromEdit_->setObjectName(QStringLiteral("fromEdit"));
    fromEdit_->setCalendarPopup(true);
    fromEdit_->setAccessibleName(tr("From"));
    toEdit_ = new QDateEdit(QDate(day.year(), 12, 31), this);
    toEdit_->setObjectName(QStringLiteral("toEdit"));
    toEdit_->setCalendarPopup(true);
    toEdit_->setAccessibleName(tr("To"));
    connect(fromEdit_, &QDateEdit::dateChanged, this, [this] { updateControls(); });
    connect(toEdit_, &QDateEdit::dateChanged, this, [this] { updateControls(); });
    auto* range = new QHBoxLayout;
    range->addWidget(dateFieldCombo_);
    range->addWidget(fromEdit_);
    range->addWidget(new QLabel(tr("and"), this));
    range->addWidget(toEdit_);

    formatCombo_ = new QComboBox(this);
    formatCombo_->setObjectName(QStringLiteral("formatCombo"));
    formatCombo_->addItems({tr("PDF document"), tr("HTML page")});

    auto* form = new QFormLayout;
    form->addRow(tr("Statuses:"), statuses);
    auto* topicLabel = new QLabel(tr("&Category:"), this);
    topicLabel->setBuddy(topicCombo_);
    form->addRow(topicLabel, topicCombo_);
    auto* datesLabel = new QLabel(tr("&Dates:"), this);
    datesLabel->setBuddy(dateFieldCombo_);
    form->addRow(datesLabel, range);
    auto* formatLabel = new QLabel(tr("&Format:"), this);
    formatLabel->setBuddy(formatCombo_);
    form->addRow(formatLabel, formatCombo_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    buttons_->setObjectName(QStringLiteral("exportButtons"));
    buttons_->button(QDialogButtonBox::Ok)->setText(tr("&Export..."));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons_);
    updateControls();
}

void JournalExportDialog::updateControls()
{
    const bool dated = dateFieldCombo_->currentIndex() != 0;
    fromEdit_->setEnabled(dated);
    toEdit_->setEnabled(dated);
    // Nothing to export without a status, or with a range that ends before
    // it starts.
    const bool anyStatus = activeCheck_->isChecked() || answeredCheck_->isChecked() || inactiveCheck_->isChecked();
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(anyStatus && (!dated || fromEdit_->date() <= toEdit_->date()));
}

PrayerSelection JournalExportDialog::selection() const
{
    PrayerSelection s;
    if (activeCheck_->isChecked())
        s.statuses.push_back(PrayerStatus::Active);
    if (answeredCheck_->isChecked())
        s.statuses.push_back(PrayerStatus::Answered);
    if (inactiveCheck_->isChecked())
        s.statuses.push_back(PrayerStatus::Inactive);
    s.allTopics = topicCombo_->currentIndex() == 0;
    s.topic = topicCombo_->currentIndex() >= 2 ? toBytes(topicCombo_->currentText()) : std::string();
    s.dateField = static_cast<PrayerSelection::DateField>(dateFieldCombo_->currentIndex());
    s.from = toSysDays(fromEdit_->date());
    s.to = toSysDays(toEdit_->date());
    return s;
}

void JournalExportDialog::setChoices(const PrayerSelection& selection, bool pdf)
{
    auto chosen = [&](PrayerStatus status) {
        return std::find(selection.statuses.begin(), selection.statuses.end(), status) != selection.statuses.end();
    };
    activeCheck_->setChecked(chosen(PrayerStatus::Active));
    answeredCheck_->setChecked(chosen(PrayerStatus::Answered));
    inactiveCheck_->setChecked(chosen(PrayerStatus::Inactive));
    int topic = 0;
    if (!selection.allTopics)
        topic = selection.topic.empty() ? 1 : std::max(0, topicCombo_->findText(fromBytes(selection.topic)));
    topicCombo_->setCurrentIndex(topic);
    dateFieldCombo_->setCurrentIndex(static_cast<int>(selection.dateField));
    fromEdit_->setDate(toQDate(selection.from));
    toEdit_->setDate(toQDate(selection.to));
    formatCombo_->setCurrentIndex(pdf ? 0 : 1);
    updateControls();
}

bool JournalExportDialog::pdf() const
{
    return formatCombo_->currentIndex() == 0;
}

} // namespace kovara::ui
