#pragma once
// The window in which the user chooses what "Export Prayer Journal..."
// writes: which statuses, one topic or all, a date range on the creation or
// answer dates (this year at first), and PDF or HTML.
#include "ui/base/core_names.h"
#include "core/prayer/prayer_store.h"

#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDialogButtonBox;

namespace kovara::ui {

class JournalExportDialog : public QDialog {
    Q_OBJECT
public:
    // topics fill the topic list after "All topics"; today sets the first
    // range (1 January to 31 December of its year).
    JournalExportDialog(const std::vector<std::string>& topics, sys_days today, QWidget* parent = nullptr);

    // What the controls say now.
    PrayerSelection selection() const;
    bool pdf() const;
    // Sets the controls to earlier choices (a topic no longer in the list
    // gives "All topics").
    void setChoices(const PrayerSelection& selection, bool pdf);

private:
    void updateControls();

    QCheckBox* activeCheck_;
    QCheckBox* answeredCheck_;
    QCheckBox* inactiveCheck_;
    QComboBox* topicCombo_;    // "All categories", "Without a category", then the topics
    QComboBox* dateFieldCombo_; // "Any date", "Created", "Answered", "Created or answered"
    QDateEdit* fromEdit_;
    QDateEdit* toEdit_;
    QComboBox* formatCombo_;   // "PDF document", "HTML page"
    QDialogButtonBox* buttons_;
};

} // namespace kovara::ui
