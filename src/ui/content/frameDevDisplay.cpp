#include "ui/content/frameDevDisplay.h"

#include "app/kova_prefs.h"
#include "base/datetime.h"
#include "content/kova_devotional.h"
#include "ui/app/error_guard.h"
#include "ui/content/frame_common.h"
#include "ui/widgets/html_viewer.h"
#include "ui/widgets/text_codec.h"

#include <QAction>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QToolButton>
#include <QVBoxLayout>

namespace kovara::ui {

namespace {

QDate ToQDate(TDateTime t)
{
    int year = 0, month = 0, day = 0;
    DecodeDate(t, year, month, day);
    return QDate(year, month, day);
}

} // namespace

TFrameKOVADevotionalDisplay::TFrameKOVADevotionalDisplay(const Clock& clock, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), clock_(clock), dialogs_(dialogs)
{
    RzPanelTop = MakeHeaderPanel(this);
    LabelTitle = MakeHeaderLabel(tr("Devotional Title"), 6, true, true, RzPanelTop);
    LabelAuthor = MakeHeaderLabel(tr("Devotional Author"), 1, false, true, RzPanelTop);

    RzDateTimeEdit1 = new QDateEdit(RzPanelTop);
    RzDateTimeEdit1->setCalendarPopup(true);
    // The system's short date, with the year in full so a typed date cannot
    // land in the wrong century.
    QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    RzDateTimeEdit1->setDisplayFormat(format);
    RzDateTimeEdit1->setMinimumDate(QDate(1753, 1, 1));
    RzDateTimeEdit1->setDate(QDate(2000, 1, 1)); // overwritten by the first SetDevotional
    // The pop-up calendar keeps Qt's defaults (navigation bar, short day
    // names): Qt then builds it when it is first opened instead of at every
    // start of the program.
    connect(RzDateTimeEdit1, &QDateEdit::dateChanged, this, [this] { RzDateTimeEdit1Change(); });

    // Back to today's entry in one click; like any date change it does not
    // count as having opened today's reading.
    ButtonToday = new QToolButton(RzPanelTop);
    ButtonToday->setText(tr("Today"));
    ButtonToday->setToolTip(tr("Show today's entry"));
    connect(ButtonToday, &QToolButton::clicked, this,
            [this] { RzDateTimeEdit1->setDate(ToQDate(clock_.Today())); });

    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(RzDateTimeEdit1);
    dateRow->addWidget(ButtonToday);
    auto* names = new QVBoxLayout;
    names->addWidget(LabelTitle);
    names->addWidget(LabelAuthor);
    auto* header = new QHBoxLayout(RzPanelTop);
    header->addLayout(names, 1);
    header->addLayout(dateRow);
    header->setAlignment(dateRow, Qt::AlignTop | Qt::AlignRight);

    HTMLViewer1 = MakeViewerPanel(RzPanelBottom, this);
    MakeViewerActions(HTMLViewer1, ActionCopy, ActionSelectAll, this);

    StackPanels(this, RzPanelTop, RzPanelBottom);
}

void TFrameKOVADevotionalDisplay::SetDevotional(TKOVADevotional& devotional)
{
    const bool changedStore = devotional_ != &devotional;
    devotional_ = &devotional;
    LabelTitle->setText(FromBytes(devotional.Title()));
    LabelAuthor->setText(QStringLiteral("by ") + FromBytes(devotional.Author()));
    const QDate today = ToQDate(clock_.Today());
    if (RzDateTimeEdit1->date() != today)
        RzDateTimeEdit1->setDate(today); // signals the change, which loads the entry
    else if (changedStore)
        RzDateTimeEdit1Change();
}

void TFrameKOVADevotionalDisplay::OpenFaithsCheckbook(TKOVADevotional& devotional, TKOVAPreferences& prefs)
{
    SetDevotional(devotional);
    prefs.LastFaithsCheckbookRead = DayOfYear(clock_.Now());
}

void TFrameKOVADevotionalDisplay::AssignPreferences(TKOVAPreferences& prefs)
{
    prefs_ = &prefs;
    ApplyDisplayPreferences(prefs, RzPanelBottom, HTMLViewer1);
    HTMLViewer1->LoadFromBytes(pageText_);
}

void TFrameKOVADevotionalDisplay::RzDateTimeEdit1Change()
{
    if (!devotional_)
        return;
    RunGuarded(dialogs_, [this] {
        const QDate date = RzDateTimeEdit1->date();
        pageText_ = devotional_->GetEntryByDay(date.month(), date.day());
        HTMLViewer1->LoadFromBytes(pageText_);
    });
}

} // namespace kovara::ui
