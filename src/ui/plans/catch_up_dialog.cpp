#include "ui/plans/catch_up_dialog.h"

#include "core/content/bible_store.h"
#include "ui/base/text_codec.h"
#include "ui/plans/plan_progress_text.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kovara::ui {

namespace {

// About an hour's reading: above it "Keep my finish date" says so.
constexpr int kVersesAReaderCanRead = 300;

QString daysText(int n)
{
    return QCoreApplication::translate("kovara::ui::CatchUpDialog", "%n days", nullptr, n);
}

} // namespace

CatchUpPreview makeCatchUpPreview(const QString& title, const PlanDays& days,
                                  const std::vector<std::string>& dayVerses, sys_days today)
{
    CatchUpPreview preview;
    preview.title = title;
    const PlanProgress progress = computeProgress(days, today);
    preview.daysBehind = progress.daysBehind;
    const sys_days start = restartStartDate(days, today);
    const int firstUnread = static_cast<int>(std::find(days.done.begin(), days.done.end(), false) - days.done.begin()) + 1;
    const int moved = static_cast<int>((start - dayOf(days.startDate)).count());
    preview.startAgain =
        QCoreApplication::translate("kovara::ui::CatchUpDialog", "Day %1 becomes today's reading and every later day moves with it. The plan will finish on %2 (%3 later).")
            .arg(QString::number(firstUnread), longDateText(start + std::chrono::days(days.dayCount() - 1)), daysText(moved));

    try {
        const RedividedPlan kept = keepFinishDate(days, dayVerses, today);
        const int newDays = static_cast<int>(kept.dayVerses.size()) - static_cast<int>(progress.daysRead);
        const int unread = progress.dayCount - progress.daysRead;
        preview.keepFinish = QCoreApplication::translate("kovara::ui::CatchUpDialog", "The passages of your %1 unread days are divided again over the %2 from today to "
                                "%3, your planned finish. The days you have read stay as they are. You can undo "
                                "this right after.")
                                 .arg(QString::number(unread), daysText(newDays),
                                      longDateText(kept.startDate + std::chrono::days(static_cast<int>(kept.dayVerses.size()) - 1)));
        // How much each of those days then holds, and a word when that is
        // more than a reader can take in a day.
        int most = 0;
        for (std::size_t day = static_cast<std::size_t>(std::max(0, progress.daysRead)); day < kept.dayVerses.size(); ++day) {
            int verses = 0;
            for (const core::VerseRun& run : core::parseVerseSpec(kept.dayVerses[day]))
                verses += std::max(0, run.last - run.first + 1);
            most = std::max(most, verses);
        }
        preview.keepFinish += u' ' + QCoreApplication::translate("kovara::ui::CatchUpDialog",
                                                                 "Each day then holds up to %n verses.", nullptr, most);
        if (most > kVersesAReaderCanRead)
            preview.keepFinish += u' ' + QCoreApplication::translate(
                                             "kovara::ui::CatchUpDialog",
                                             "That is more than most readers manage in a day: starting again or "
                                             "reading two plan days a day may suit you better.");
    } catch (const std::exception& e) {
        preview.keepFinishRefusal = fromBytes(e.what());
    }

    const DoubleUpSchedule doubled = doubleUpSchedule(days, today);
    const int toCatchUp = static_cast<int>((doubled.caughtUpOn - today).count()) + 1;
    preview.doubleUp = QCoreApplication::translate("kovara::ui::CatchUpDialog", "Read two plan days a day for %1: you will be caught up on %2 and finish on %3. The "
                          "reading page shows both days, and Mark Passage as Read marks both.")
                           .arg(daysText(toCatchUp), longDateText(doubled.caughtUpOn), longDateText(doubled.finishOn));
    return preview;
}

CatchUpDialog::CatchUpDialog(const CatchUpPreview& preview, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QCoreApplication::translate("kovara::ui::CatchUpDialog", "Catch Up"));
    const QString intro = tr("\"%1\" is %n days behind. Missing days happens to every reader; choose how you would like "
                             "to get back on track:",
                             nullptr, preview.daysBehind)
                              .arg(preview.title);
    introLabel_ = new QLabel(intro, this);
    introLabel_->setObjectName(QStringLiteral("catchUpIntroLabel"));
    introLabel_->setWordWrap(true);
    introLabel_->setTextFormat(Qt::PlainText);

    const auto choiceRow = [this](const QString& caption, const QString& text, QRadioButton*& button,
                                  QLabel*& label) {
        button = new QRadioButton(caption, this);
        label = new QLabel(text, this);
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        label->setIndent(20);
        label->setBuddy(button);
    };
    choiceRow(QCoreApplication::translate("kovara::ui::CatchUpDialog", "&Start again from here"), preview.startAgain, startAgainButton_, startAgainLabel_);
    choiceRow(QCoreApplication::translate("kovara::ui::CatchUpDialog", "&Keep my finish date"),
              preview.keepFinishRefusal.isEmpty() ? preview.keepFinish : preview.keepFinishRefusal, keepFinishButton_,
              keepFinishLabel_);
    choiceRow(QCoreApplication::translate("kovara::ui::CatchUpDialog", "&Double up for a while"), preview.doubleUp, doubleUpButton_, doubleUpLabel_);
    startAgainButton_->setObjectName(QStringLiteral("startAgainButton"));
    keepFinishButton_->setObjectName(QStringLiteral("keepFinishButton"));
    doubleUpButton_->setObjectName(QStringLiteral("doubleUpButton"));
    keepFinishLabel_->setObjectName(QStringLiteral("keepFinishLabel"));
    keepFinishButton_->setEnabled(preview.keepFinishRefusal.isEmpty());
    auto* group = new QButtonGroup(this);
    group->addButton(startAgainButton_);
    group->addButton(keepFinishButton_);
    group->addButton(doubleUpButton_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Ok)->setText(QCoreApplication::translate("kovara::ui::CatchUpDialog", "Apply"));
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(false);
    connect(group, &QButtonGroup::buttonClicked, this,
            [this] { buttons_->button(QDialogButtonBox::Ok)->setEnabled(true); });
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(introLabel_);
    for (QWidget* w : {static_cast<QWidget*>(startAgainButton_), static_cast<QWidget*>(startAgainLabel_),
                       static_cast<QWidget*>(keepFinishButton_), static_cast<QWidget*>(keepFinishLabel_),
                       static_cast<QWidget*>(doubleUpButton_), static_cast<QWidget*>(doubleUpLabel_)})
        layout->addWidget(w);
    layout->addStretch();
    layout->addWidget(buttons_);
    setMinimumWidth(460);
}

std::optional<CatchUpChoice> CatchUpDialog::choice() const
{
    if (startAgainButton_->isChecked())
        return CatchUpChoice::StartAgain;
    if (keepFinishButton_->isChecked())
        return CatchUpChoice::KeepFinish;
    if (doubleUpButton_->isChecked())
        return CatchUpChoice::DoubleUp;
    return std::nullopt;
}

} // namespace kovara::ui
