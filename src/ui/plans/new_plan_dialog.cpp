#include "ui/plans/new_plan_dialog.h"
#include "ui/base/core_names.h"

#include "core/content/bible_store.h"
#include "core/plans/plan_store.h"
#include "core/base/translation.h"
#include "ui/base/dialogs.h"
#include "ui/base/error_guard.h"
#include "ui/base/dates.h"
#include "ui/base/text_codec.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kovara::ui {

namespace {

QLabel* descriptionLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setContentsMargins(24, 0, 0, 6);
    return label;
}

// Refills a chapter list with "1" .. "count" and selects chapter selected,
// without raising its change signal.
void fillChapterList(QComboBox* box, int count, int selected)
{
    const QSignalBlocker block(box);
    box->clear();
    QStringList items;
    items.reserve(count);
    for (int i = 1; i <= count; ++i)
        items << QString::number(i);
    box->addItems(items);
    box->setCurrentIndex(selected - 1);
}

void makeBold(QWidget* widget)
{
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

} // namespace

NewPlanDialog::NewPlanDialog(Dialogs& dialogs, const Clock& clock, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), clock_(clock)
{
    setWindowTitle(tr("Create Daily Bible Reading Plan"));

    auto* heading = new QLabel(tr("Select a Daily Reading Plan:"), this);
    makeBold(heading);

    sevenTypesPlanRadio_ = new QRadioButton(tr("Bible in a Year: Seven Book Types a Week"), this);

    sevenTypesPlanRadio_->setObjectName(QStringLiteral("sevenTypesPlanRadio"));
    otNtPlanRadio_ = new QRadioButton(tr("Bible in a Year: Old and New Testaments Each Day"), this);
    otNtPlanRadio_->setObjectName(QStringLiteral("otNtPlanRadio"));
    customPlanRadio_ = new QRadioButton(tr("Custom Reading Plan"), this);
    customPlanRadio_->setObjectName(QStringLiteral("customPlanRadio"));
    auto* group = new QButtonGroup(this);
    group->addButton(sevenTypesPlanRadio_);
    group->addButton(otNtPlanRadio_);
    group->addButton(customPlanRadio_);
    // A kind is chosen from the first use on, so "Create Reading Plan" always
    // does something.
    sevenTypesPlanRadio_->setChecked(true);

    startBookCombo_ = new QComboBox(this);

    startBookCombo_->setObjectName(QStringLiteral("startBookCombo"));
    startChapterCombo_ = new QComboBox(this);
    startChapterCombo_->setObjectName(QStringLiteral("startChapterCombo"));
    endBookCombo_ = new QComboBox(this);
    endBookCombo_->setObjectName(QStringLiteral("endBookCombo"));
    endChapterCombo_ = new QComboBox(this);
    endChapterCombo_->setObjectName(QStringLiteral("endChapterCombo"));
    completionDateEdit_ = new QDateEdit(this);
    completionDateEdit_->setObjectName(QStringLiteral("completionDateEdit"));
    completionDateEdit_->setCalendarPopup(true);
    // The reader's short date (in the program's language) with the year in full, as the other date fields.
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    completionDateEdit_->setDisplayFormat(format);
    // Only a finished entry counts: intermediate dates while typing a year
    // would otherwise be reset to today with a beep.
    completionDateEdit_->setKeyboardTracking(false);
    completionDateEdit_->setDate(toQDate(clock_.today()));
    customDetailsLabel_ = new QLabel(this);
    customDetailsLabel_->setObjectName(QStringLiteral("customDetailsLabel"));
    customDetailsLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    cancelButton_ = new QPushButton(tr("Cancel"), this);

    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    createPlanButton_ = new QPushButton(tr("Create Reading Plan"), this);
    createPlanButton_->setObjectName(QStringLiteral("createPlanButton"));
    makeBold(createPlanButton_);
    createPlanButton_->setDefault(true);

    auto* custom = new QGridLayout;
    custom->setContentsMargins(24, 0, 0, 0);
    // Each field is named by its label for assistive technology; the two
    // "Chapter:" labels would read alike, so the chapter lists say which.
    const auto labelled = [&](const QString& text, QWidget* field, int row, int column) {
        auto* label = new QLabel(text, this);
        label->setBuddy(field);
        custom->addWidget(label, row, column);
        custom->addWidget(field, row, column + 1);
    };
    labelled(tr("Starting Book:"), startBookCombo_, 0, 0);
    labelled(tr("Chapter:"), startChapterCombo_, 0, 2);
    labelled(tr("Ending Book:"), endBookCombo_, 1, 0);
    labelled(tr("Chapter:"), endChapterCombo_, 1, 2);
    labelled(tr("Completion Date:"), completionDateEdit_, 2, 0);
    startChapterCombo_->setAccessibleName(tr("Starting Chapter"));
    endChapterCombo_->setAccessibleName(tr("Ending Chapter"));
    custom->addWidget(customDetailsLabel_, 3, 0, 1, 4);
    custom->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancelButton_);
    buttons->addWidget(createPlanButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(sevenTypesPlanRadio_);
    layout->addWidget(descriptionLabel(
        tr("This plan will take you through the Bible in a year. Each day of the week, you will read from a different "
        "type of book: On the first day of the plan, you will read from The Law; on the second, History; on the "
        "third, Psalms; on the fourth, Poetry; on the fifth, Prophecy; on the sixth, The Gospels; and on the seventh, "
        "The Epistles."),
        this));
    layout->addWidget(otNtPlanRadio_);
    layout->addWidget(descriptionLabel(tr("This plan will take you though the Bible in a year. Each day you will read a "
                                       "portion of Scripture from the Old Testament and from the New Testament."),
                                       this));
    layout->addWidget(customPlanRadio_);
    layout->addWidget(descriptionLabel(tr("Create your own reading plan by choosing what you want to read and the date "
                                       "you want to complete your reading."),
                                       this));
    layout->addLayout(custom);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setMinimumWidth(560);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (QRadioButton* radio : {sevenTypesPlanRadio_, otNtPlanRadio_, customPlanRadio_})
        connect(radio, &QRadioButton::clicked, this, [this] { updateControls(); });
    connect(startBookCombo_, &QComboBox::currentIndexChanged, this,
            [this](int index) { runGuarded(dialogs_, [&] { startBookChanged(index); }); });
    connect(endBookCombo_, &QComboBox::currentIndexChanged, this,
            [this](int index) { runGuarded(dialogs_, [&] { endBookChanged(index); }); });
    connect(startChapterCombo_, &QComboBox::currentIndexChanged, this,
            [this](int index) { runGuarded(dialogs_, [&] { startChapterChanged(index); }); });
    connect(endChapterCombo_, &QComboBox::currentIndexChanged, this,
            [this](int index) { runGuarded(dialogs_, [&] { endChapterChanged(index); }); });
    connect(completionDateEdit_, &QDateEdit::dateChanged, this,
            [this] { runGuarded(dialogs_, [this] { completionDateChanged(); }); });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(createPlanButton_, &QPushButton::clicked, this,
            [this] { runGuarded(dialogs_, [this] { onCreatePlanClicked(); }); });

    updateControls();
}

void NewPlanDialog::setBible(BibleStore& bible)
{
    if (bible_ == &bible)
        return;
    bible_ = &bible;
    QStringList names;
    for (int book = 1; book <= BibleStore::kMaxBooks; ++book)
        names << fromBytes(bible.longBookName(book));
    for (QComboBox* box : {startBookCombo_, endBookCombo_}) {
        const QSignalBlocker block(box);
        box->clear();
        box->addItems(names);
        box->setCurrentIndex(0);
    }
    stretch_ = CustomStretch{};
    fillStartChapters();
    fillEndChapters();
    updateCustomDetails();
}

bool NewPlanDialog::execute()
{
    checkNewPlanSources(bible_, planFileName);
    // A date chosen on an earlier day may lie in the past by now; the plan
    // always runs from today.
    keepCompletionDateFromToday();
    updateControls();
    updateCustomDetails();
    return runModal() == QDialog::Accepted;
}

int NewPlanDialog::runModal()
{
    return exec();
}

NewPlanKind NewPlanDialog::selectedKind() const
{
    if (sevenTypesPlanRadio_->isChecked())
        return NewPlanKind::SevenTypes;
    if (otNtPlanRadio_->isChecked())
        return NewPlanKind::OtNtDaily;
    if (customPlanRadio_->isChecked())
        return NewPlanKind::Custom;
    return NewPlanKind::None;
}

void NewPlanDialog::updateControls()
{
    const bool custom = customPlanRadio_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{startBookCombo_, startChapterCombo_, endBookCombo_,
                                                       endChapterCombo_, completionDateEdit_,
                                                       customDetailsLabel_})
        w->setEnabled(custom);
}

void NewPlanDialog::fillStartChapters()
{
    stretch_.startChapter = 1;
    fillChapterList(startChapterCombo_, bible_ ? bible_->chapterCount(stretch_.startBook) : 0, 1);
}

void NewPlanDialog::fillEndChapters()
{
    const int count = bible_ ? bible_->chapterCount(stretch_.endBook) : 0;
    stretch_.endChapter = std::max(1, count);
    fillChapterList(endChapterCombo_, count, count);
}

int NewPlanDialog::startVerseIndex() const
{
    return stretch_.startVerseIndex(*bible_);
}

int NewPlanDialog::endVerseIndex() const
{
    return stretch_.endVerseIndex(*bible_);
}

CustomPlanFigures NewPlanDialog::customFigures() const
{
    return customPlanFigures(startVerseIndex(), endVerseIndex(), clock_.today(),
                             toSysDays(completionDateEdit_->date()));
}

void NewPlanDialog::updateCustomDetails()
{
    if (!bible_)
        return;
    customDetailsLabel_->setText(fromBytes(customDetailsText(customFigures())));
}

void NewPlanDialog::showStretch(bool refillStart, bool refillEnd)
{
    const QSignalBlocker b1(startBookCombo_), b2(endBookCombo_), b3(startChapterCombo_),
        b4(endChapterCombo_);
    startBookCombo_->setCurrentIndex(stretch_.startBook - 1);
    endBookCombo_->setCurrentIndex(stretch_.endBook - 1);
    if (refillStart)
        fillChapterList(startChapterCombo_, bible_->chapterCount(stretch_.startBook), stretch_.startChapter);
    else
        startChapterCombo_->setCurrentIndex(stretch_.startChapter - 1);
    if (refillEnd)
        fillChapterList(endChapterCombo_, bible_->chapterCount(stretch_.endBook), stretch_.endChapter);
    else
        endChapterCombo_->setCurrentIndex(stretch_.endChapter - 1);
}

void NewPlanDialog::startBookChanged(int index)
{
    if (!bible_ || index < 0)
        return;
    const int oldEnd = stretch_.endBook;
    stretch_.changeStartBook(index + 1, *bible_);
    showStretch(true, stretch_.endBook != oldEnd);
    updateCustomDetails();
}

void NewPlanDialog::endBookChanged(int index)
{
    if (!bible_ || index < 0)
        return;
    const int oldStart = stretch_.startBook;
    stretch_.changeEndBook(index + 1, *bible_);
    showStretch(stretch_.startBook != oldStart, true);
    updateCustomDetails();
}

void NewPlanDialog::startChapterChanged(int index)
{
    if (!bible_ || index < 0)
        return;
    stretch_.changeStartChapter(index + 1);
    showStretch(false, false);
    updateCustomDetails();
}

void NewPlanDialog::endChapterChanged(int index)
{
    if (!bible_ || index < 0)
        return;
    stretch_.changeEndChapter(index + 1);
    showStretch(false, false);
    updateCustomDetails();
}

bool NewPlanDialog::keepCompletionDateFromToday()
{
    const QDate chosen = completionDateEdit_->date();
    const QDate allowed = toQDate(clampCompletionDate(toSysDays(chosen), clock_.today()));
    if (allowed == chosen)
        return false;
    const QSignalBlocker block(completionDateEdit_);
    completionDateEdit_->setDate(allowed);
    return true;
}

void NewPlanDialog::completionDateChanged()
{
    if (keepCompletionDateFromToday())
        QApplication::beep();
    updateCustomDetails();
}

void NewPlanDialog::onCreatePlanClicked()
{
    const NewPlanKind kind = selectedKind();
    switch (kind) {
    case NewPlanKind::SevenTypes:
    case NewPlanKind::OtNtDaily:
        // Assigned only when the whole template was read, so a failure keeps
        // the earlier days.
        planDays = loadTemplateVerses(planFileName, templateTableOf(kind));
        accept();
        break;
    case NewPlanKind::Custom: {
        const CustomPlanFigures figures = customFigures();
        if (figures.perDay < 1) {
            dialogs_.message(fromBytes(translatedText("kovara::core::NewPlan", kLessThanOneVersePerDay)));
            return;
        }
        planDays = customPlanDays(figures);
        accept();
        break;
    }
    case NewPlanKind::None:
        break;
    }
}

} // namespace kovara::ui
