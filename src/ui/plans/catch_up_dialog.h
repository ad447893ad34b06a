#pragma once
// The catch-up dialog: the three ways back on track for a plan that is
// behind, each with a line that says what it will do (new dates, how the
// days are spread) before anything is changed. A way that cannot be used for
// this plan is disabled and says why.
#include "ui/base/core_names.h"
#include "core/plans/catch_up.h"

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

class QDialogButtonBox;
class QLabel;
class QRadioButton;

namespace kovara::ui {

enum class CatchUpChoice { StartAgain, KeepFinish, DoubleUp };

// What each choice would do to one plan, worked out before the dialog shows.
struct CatchUpPreview {
    QString title;
    int daysBehind = 0;
    QString startAgain; // empty when the choice cannot be used
    QString keepFinish;
    QString doubleUp;
    QString keepFinishRefusal; // why "Keep my finish date" cannot be used, or empty
};

// Works out the three descriptions for a plan's days and verses on today.
CatchUpPreview makeCatchUpPreview(const QString& title, const PlanDays& days,
                                  const std::vector<std::string>& dayVerses, sys_days today);

class CatchUpDialog : public QDialog {
    Q_OBJECT
public:
    CatchUpDialog(const CatchUpPreview& preview, QWidget* parent = nullptr);

    // The chosen way; nothing when none is selected.
    std::optional<CatchUpChoice> choice() const;

private:
    QLabel* introLabel_;
    QRadioButton* startAgainButton_;
    QLabel* startAgainLabel_;
    QRadioButton* keepFinishButton_;
    QLabel* keepFinishLabel_;
    QRadioButton* doubleUpButton_;
    QLabel* doubleUpLabel_;
    QDialogButtonBox* buttons_;
};

} // namespace kovara::ui
