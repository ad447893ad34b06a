#include "ui/plans/formNewPlan.h"

#include "content/kova_bible.h"
#include "plans/kova_readplan.h"
#include "ui/app/dialogs.h"
#include "ui/app/error_guard.h"
#include "ui/widgets/dates.h"
#include "ui/widgets/text_codec.h"

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

QLabel* DescriptionLabel(const char* text, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setWordWrap(true);
    label->setContentsMargins(24, 0, 0, 6);
    return label;
}

// Refills a chapter list with "1" .. "count" and selects chapter selected,
// without raising its change signal.
void FillChapterList(QComboBox* box, int count, int selected)
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

void MakeBold(QWidget* widget)
{
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

} // namespace

TFormNewPlanDlg::TFormNewPlanDlg(Dialogs& dialogs, const Clock& clock, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), clock_(clock)
{
    setWindowTitle(QStringLiteral("Create Daily Bible Reading Plan"));

    auto* heading = new QLabel(QStringLiteral("Select a Daily Reading Plan:"), this);
    MakeBold(heading);

    RadioButtonPlanSeven = new QRadioButton(QStringLiteral("Bible in a Year: Seven Book Types a Week"), this);
    RadioButtonPlanOtNt = new QRadioButton(QStringLiteral("Bible in a Year: Old and New Testaments Each Day"), this);
    RadioButtonPlanCustom = new QRadioButton(QStringLiteral("Custom Reading Plan"), this);
    auto* group = new QButtonGroup(this);
    group->addButton(RadioButtonPlanSeven);
    group->addButton(RadioButtonPlanOtNt);
    group->addButton(RadioButtonPlanCustom);
    // A kind is chosen from the first use on, so "Create Reading Plan" always
    // does something.
    RadioButtonPlanSeven->setChecked(true);

    RzComboBoxStartBook = new QComboBox(this);
    RzComboBoxStartChapter = new QComboBox(this);
    RzComboBoxEndBook = new QComboBox(this);
    RzComboBoxEndChapter = new QComboBox(this);
    RzDateTimeEditCustomComplete = new QDateEdit(this);
    RzDateTimeEditCustomComplete->setCalendarPopup(true);
    // The system's short date with the year in full, as the other date fields.
    QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    RzDateTimeEditCustomComplete->setDisplayFormat(format);
    // Only a finished entry counts: intermediate dates while typing a year
    // would otherwise be reset to today with a beep.
    RzDateTimeEditCustomComplete->setKeyboardTracking(false);
    RzDateTimeEditCustomComplete->setDate(ToQDate(clock_.Today()));
    LabelCustomDetails = new QLabel(this);
    LabelCustomDetails->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    ButtonCancel = new QPushButton(QStringLiteral("Cancel"), this);
    ButtonCreatePlan = new QPushButton(QStringLiteral("Create Reading Plan"), this);
    MakeBold(ButtonCreatePlan);
    ButtonCreatePlan->setDefault(true);

    auto* custom = new QGridLayout;
    custom->setContentsMargins(24, 0, 0, 0);
    custom->addWidget(new QLabel(QStringLiteral("Starting Book:"), this), 0, 0);
    custom->addWidget(RzComboBoxStartBook, 0, 1);
    custom->addWidget(new QLabel(QStringLiteral("Chapter:"), this), 0, 2);
    custom->addWidget(RzComboBoxStartChapter, 0, 3);
    custom->addWidget(new QLabel(QStringLiteral("Ending Book:"), this), 1, 0);
    custom->addWidget(RzComboBoxEndBook, 1, 1);
    custom->addWidget(new QLabel(QStringLiteral("Chapter:"), this), 1, 2);
    custom->addWidget(RzComboBoxEndChapter, 1, 3);
    custom->addWidget(new QLabel(QStringLiteral("Completion Date:"), this), 2, 0);
    custom->addWidget(RzDateTimeEditCustomComplete, 2, 1);
    custom->addWidget(LabelCustomDetails, 3, 0, 1, 4);
    custom->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonCancel);
    buttons->addWidget(ButtonCreatePlan);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(RadioButtonPlanSeven);
    layout->addWidget(DescriptionLabel(
        "This plan will take you through the Bible in a year. Each day of the week, you will read from a different "
        "type of book: On the first day of the plan, you will read from The Law; on the second, History; on the "
        "third, Psalms; on the fourth, Poetry; on the fifth, Prophecy; on the sixth, The Gospels; and on the seventh, "
        "The Epistles.",
        this));
    layout->addWidget(RadioButtonPlanOtNt);
    layout->addWidget(DescriptionLabel("This plan will take you though the Bible in a year. Each day you will read a "
                                       "portion of Scripture from the Old Testament and from the New Testament.",
                                       this));
    layout->addWidget(RadioButtonPlanCustom);
    layout->addWidget(DescriptionLabel("Create your own reading plan by choosing what you want to read and the date "
                                       "you want to complete your reading.",
                                       this));
    layout->addLayout(custom);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setMinimumWidth(560);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (QRadioButton* radio : {RadioButtonPlanSeven, RadioButtonPlanOtNt, RadioButtonPlanCustom})
        connect(radio, &QRadioButton::clicked, this, [this] { UpdateControls(); });
    connect(RzComboBoxStartBook, &QComboBox::currentIndexChanged, this,
            [this](int index) { RunGuarded(dialogs_, [&] { StartBookChanged(index); }); });
    connect(RzComboBoxEndBook, &QComboBox::currentIndexChanged, this,
            [this](int index) { RunGuarded(dialogs_, [&] { EndBookChanged(index); }); });
    connect(RzComboBoxStartChapter, &QComboBox::currentIndexChanged, this,
            [this](int index) { RunGuarded(dialogs_, [&] { StartChapterChanged(index); }); });
    connect(RzComboBoxEndChapter, &QComboBox::currentIndexChanged, this,
            [this](int index) { RunGuarded(dialogs_, [&] { EndChapterChanged(index); }); });
    connect(RzDateTimeEditCustomComplete, &QDateEdit::dateChanged, this,
            [this] { RunGuarded(dialogs_, [this] { CompletionDateChanged(); }); });
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonCreatePlan, &QPushButton::clicked, this,
            [this] { RunGuarded(dialogs_, [this] { ButtonCreatePlanClick(); }); });

    UpdateControls();
}

void TFormNewPlanDlg::SetBible(TKOVABible& bible)
{
    if (Bible == &bible)
        return;
    Bible = &bible;
    QStringList names;
    for (int book = 1; book <= TKOVABible::kMaxBooks; ++book)
        names << FromBytes(bible.GetLongBookName(book));
    for (QComboBox* box : {RzComboBoxStartBook, RzComboBoxEndBook}) {
        const QSignalBlocker block(box);
        box->clear();
        box->addItems(names);
        box->setCurrentIndex(0);
    }
    stretch_ = TCustomStretch{};
    FillStartChapters();
    FillEndChapters();
    UpdateCustomDetails();
}

bool TFormNewPlanDlg::Execute()
{
    CheckNewPlanSources(Bible, PlanFileName);
    // A date chosen on an earlier day may lie in the past by now; the plan
    // always runs from today.
    const QDate today = ToQDate(clock_.Today());
    if (RzDateTimeEditCustomComplete->date() < today) {
        const QSignalBlocker block(RzDateTimeEditCustomComplete);
        RzDateTimeEditCustomComplete->setDate(today);
    }
    UpdateControls();
    UpdateCustomDetails();
    return RunModal() == QDialog::Accepted;
}

int TFormNewPlanDlg::RunModal()
{
    return exec();
}

TNewPlanKind TFormNewPlanDlg::SelectedKind() const
{
    if (RadioButtonPlanSeven->isChecked())
        return TNewPlanKind::SevenTypes;
    if (RadioButtonPlanOtNt->isChecked())
        return TNewPlanKind::OtNtDaily;
    if (RadioButtonPlanCustom->isChecked())
        return TNewPlanKind::Custom;
    return TNewPlanKind::None;
}

void TFormNewPlanDlg::UpdateControls()
{
    const bool custom = RadioButtonPlanCustom->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{RzComboBoxStartBook, RzComboBoxStartChapter, RzComboBoxEndBook,
                                                       RzComboBoxEndChapter, RzDateTimeEditCustomComplete,
                                                       LabelCustomDetails})
        w->setEnabled(custom);
}

void TFormNewPlanDlg::FillStartChapters()
{
    stretch_.startChapter = 1;
    FillChapterList(RzComboBoxStartChapter, Bible ? Bible->GetChapterCount(stretch_.startBook) : 0, 1);
}

void TFormNewPlanDlg::FillEndChapters()
{
    const int count = Bible ? Bible->GetChapterCount(stretch_.endBook) : 0;
    stretch_.endChapter = std::max(1, count);
    FillChapterList(RzComboBoxEndChapter, count, count);
}

int TFormNewPlanDlg::GetStartVerseIndex() const
{
    return stretch_.StartVerseIndex(*Bible);
}

int TFormNewPlanDlg::GetEndVerseIndex() const
{
    return stretch_.EndVerseIndex(*Bible);
}

TCustomPlanFigures TFormNewPlanDlg::Figures() const
{
    return CustomPlanFigures(GetStartVerseIndex(), GetEndVerseIndex(), clock_.Today(),
                             FromQDate(RzDateTimeEditCustomComplete->date()));
}

void TFormNewPlanDlg::UpdateCustomDetails()
{
    if (!Bible)
        return;
    LabelCustomDetails->setText(FromBytes(CustomDetailsText(Figures())));
}

void TFormNewPlanDlg::ShowStretch(bool refillStart, bool refillEnd)
{
    const QSignalBlocker b1(RzComboBoxStartBook), b2(RzComboBoxEndBook), b3(RzComboBoxStartChapter),
        b4(RzComboBoxEndChapter);
    RzComboBoxStartBook->setCurrentIndex(stretch_.startBook - 1);
    RzComboBoxEndBook->setCurrentIndex(stretch_.endBook - 1);
    if (refillStart)
        FillChapterList(RzComboBoxStartChapter, Bible->GetChapterCount(stretch_.startBook), stretch_.startChapter);
    else
        RzComboBoxStartChapter->setCurrentIndex(stretch_.startChapter - 1);
    if (refillEnd)
        FillChapterList(RzComboBoxEndChapter, Bible->GetChapterCount(stretch_.endBook), stretch_.endChapter);
    else
        RzComboBoxEndChapter->setCurrentIndex(stretch_.endChapter - 1);
}

void TFormNewPlanDlg::StartBookChanged(int index)
{
    if (!Bible || index < 0)
        return;
    const int oldEnd = stretch_.endBook;
    stretch_.ChangeStartBook(index + 1, *Bible);
    ShowStretch(true, stretch_.endBook != oldEnd);
    UpdateCustomDetails();
}

void TFormNewPlanDlg::EndBookChanged(int index)
{
    if (!Bible || index < 0)
        return;
    const int oldStart = stretch_.startBook;
    stretch_.ChangeEndBook(index + 1, *Bible);
    ShowStretch(stretch_.startBook != oldStart, true);
    UpdateCustomDetails();
}

void TFormNewPlanDlg::StartChapterChanged(int index)
{
    if (!Bible || index < 0)
        return;
    stretch_.ChangeStartChapter(index + 1);
    ShowStretch(false, false);
    UpdateCustomDetails();
}

void TFormNewPlanDlg::EndChapterChanged(int index)
{
    if (!Bible || index < 0)
        return;
    stretch_.ChangeEndChapter(index + 1);
    ShowStretch(false, false);
    UpdateCustomDetails();
}

void TFormNewPlanDlg::CompletionDateChanged()
{
    const QDate today = ToQDate(clock_.Today());
    if (RzDateTimeEditCustomComplete->date() < today) {
        {
            const QSignalBlocker block(RzDateTimeEditCustomComplete);
            RzDateTimeEditCustomComplete->setDate(today);
        }
        QApplication::beep();
    }
    UpdateCustomDetails();
}

void TFormNewPlanDlg::ButtonCreatePlanClick()
{
    const TNewPlanKind kind = SelectedKind();
    switch (kind) {
    case TNewPlanKind::SevenTypes:
    case TNewPlanKind::OtNtDaily:
        // Assigned only when the whole template was read, so a failure keeps
        // the earlier days.
        PlanDays = LoadTemplateVerses(PlanFileName, TemplateTableOf(kind));
        accept();
        break;
    case TNewPlanKind::Custom: {
        const TCustomPlanFigures figures = Figures();
        if (figures.perDay < 1) {
            dialogs_.Message(QString::fromUtf8(kLessThanOneVersePerDay));
            return;
        }
        PlanDays = CustomPlanDays(figures);
        accept();
        break;
    }
    case TNewPlanKind::None:
        break;
    }
}

} // namespace kovara::ui
