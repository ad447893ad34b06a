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

namespace kovara::ui {

JournalExportDialog::JournalExportDialog(const std::vector<std::string>& topics, DateTime today, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("journalExportDialog"));
    setWindowTitle(tr("Export Prayer Journal - Kovara"));

    activeCheck = new QCheckBox(tr("A&ctive"), this);
    answeredCheck = new QCheckBox(tr("A&nswered"), this);
    inactiveCheck = new QCheckBox(tr("&Inactive"), this);
    auto* statuses = new QHBoxLayout;
    for (QCheckBox* check : {activeCheck, answeredCheck, inactiveCheck}) {
        check->setChecked(true);
        statuses->addWidget(check);
        connect(check, &QCheckBox::toggled, this, [this] { updateControls(); });
    }
    statuses->addStretch(1);

    topicCombo = new QComboBox(this);
    topicCombo->setObjectName(QStringLiteral("exportTopicCombo"));
    topicCombo->addItem(tr("All topics"));
    topicCombo->addItem(tr("Without a topic"));
    for (const std::string& topic : topics)
        topicCombo->addItem(fromBytes(topic));

    dateFieldCombo = new QComboBox(this);
    dateFieldCombo->setObjectName(QStringLiteral("dateFieldCombo"));
    dateFieldCombo->addItems({tr("Any date"), tr("Created between"), tr("Answered between"),
                              tr("Created or answered between")});
    dateFieldCombo->setCurrentIndex(static_cast<int>(PrayerSelection::DateField::CreatedOrAnswered));
    connect(dateFieldCombo, &QComboBox::currentIndexChanged, this, [this] { updateControls(); });
    const QDate day = toQDate(today);
    fromEdit = new QDateEdit(QDate(day.year(), 1, 1), this);
    fromEdit->setObjectName(QStringLiteral("fromEdit"));
    fromEdit->setCalendarPopup(true);
    fromEdit->setAccessibleName(tr("From"));
    toEdit = new QDateEdit(QDate(day.year(), 12, 31), this);
    toEdit->setObjectName(QStringLiteral("toEdit"));
    toEdit->setCalendarPopup(true);
    toEdit->setAccessibleName(tr("To"));
    connect(fromEdit, &QDateEdit::dateChanged, this, [this] { updateControls(); });
    connect(toEdit, &QDateEdit::dateChanged, this, [this] { updateControls(); });
    auto* range = new QHBoxLayout;
    range->addWidget(dateFieldCombo);
    range->addWidget(fromEdit);
    range->addWidget(new QLabel(tr("and"), this));
    range->addWidget(toEdit);

    formatCombo = new QComboBox(this);
    formatCombo->setObjectName(QStringLiteral("formatCombo"));
    formatCombo->addItems({tr("PDF document"), tr("HTML page")});

    auto* form = new QFormLayout;
    form->addRow(tr("Statuses:"), statuses);
    auto* topicLabel = new QLabel(tr("&Topic:"), this);
    topicLabel->setBuddy(topicCombo);
    form->addRow(topicLabel, topicCombo);
    auto* datesLabel = new QLabel(tr("&Dates:"), this);
    datesLabel->setBuddy(dateFieldCombo);
    form->addRow(datesLabel, range);
    auto* formatLabel = new QLabel(tr("&Format:"), this);
    formatLabel->setBuddy(formatCombo);
    form->addRow(formatLabel, formatCombo);

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&Export..."));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    updateControls();
}

void JournalExportDialog::updateControls()
{
    const bool dated = dateFieldCombo->currentIndex() != 0;
    fromEdit->setEnabled(dated);
    toEdit->setEnabled(dated);
    // Nothing to export without a status, or with a range that ends before
    // it starts.
    const bool anyStatus = activeCheck->isChecked() || answeredCheck->isChecked() || inactiveCheck->isChecked();
    buttons->button(QDialogButtonBox::Ok)->setEnabled(anyStatus && (!dated || fromEdit->date() <= toEdit->date()));
}

PrayerSelection JournalExportDialog::selection() const
{
    PrayerSelection s;
    if (activeCheck->isChecked())
        s.statuses.push_back(kPrayerActive);
    if (answeredCheck->isChecked())
        s.statuses.push_back(kPrayerAnswered);
    if (inactiveCheck->isChecked())
        s.statuses.push_back(kPrayerInactive);
    s.allTopics = topicCombo->currentIndex() == 0;
    s.topic = topicCombo->currentIndex() >= 2 ? toBytes(topicCombo->currentText()) : std::string();
    s.dateField = static_cast<PrayerSelection::DateField>(dateFieldCombo->currentIndex());
    s.from = fromQDate(fromEdit->date());
    s.to = fromQDate(toEdit->date());
    return s;
}

bool JournalExportDialog::pdf() const
{
    return formatCombo->currentIndex() == 0;
}

} // namespace kovara::ui
