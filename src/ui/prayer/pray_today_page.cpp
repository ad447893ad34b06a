#include "ui/prayer/pray_today_page.h"

#include "core/prayer/prayer_list_page.h"
#include "core/prayer/prayer_list_store.h"
#include "ui/base/dates.h"
#include "ui/base/error_guard.h"
#include "ui/base/html_viewer.h"
#include "ui/base/page_frame.h"
#include "ui/base/shell.h"
#include "ui/base/text_codec.h"

#include <QAction>
#include <QDateEdit>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>

namespace kovara::ui {

PrayTodayPage::PrayTodayPage(Shell& shell, QWidget* parent) : ContentPage(parent), shell_(shell)
{
    headerPanel_ = makeHeaderPanel(this);
    QLabel* title = makeHeaderLabel(tr("Pray Today"), 6, true, true, headerPanel_);

    dayEdit_ = new QDateEdit(headerPanel_);
    dayEdit_->setObjectName(QStringLiteral("prayTodayDayEdit"));
    dayEdit_->setAccessibleName(tr("Day"));
    dayEdit_->setCalendarPopup(true);
    QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    dayEdit_->setDisplayFormat(format);
    dayEdit_->setDate(toQDate(shell_.clock().today()));
    connect(dayEdit_, &QDateEdit::dateChanged, this, [this] {
        if (!filling_)
            runGuarded(shell_.dialogs(), [this] { refresh(); });
    });

    todayButton_ = new QPushButton(tr("&Today"), headerPanel_);
    todayButton_->setObjectName(QStringLiteral("prayTodayTodayButton"));
    todayButton_->setToolTip(tr("Show today's list"));
    connect(todayButton_, &QPushButton::clicked, this, [this] { setDay(shell_.clock().today()); });

    auto* cycleLabel = new QLabel(tr("Items in turn come up once every"), headerPanel_);
    cycleEdit_ = new QSpinBox(headerPanel_);
    cycleEdit_->setObjectName(QStringLiteral("prayTodayCycleEdit"));
    cycleEdit_->setRange(1, 365);
    cycleEdit_->setSuffix(tr(" days"));
    cycleEdit_->setAccessibleName(tr("Cycle length in days"));
    cycleLabel->setBuddy(cycleEdit_);
    connect(cycleEdit_, &QSpinBox::editingFinished, this, [this] {
        if (!filling_)
            runGuarded(shell_.dialogs(), [this] { changeCycleLength(cycleEdit_->value()); });
    });

    countLabel_ = new QLabel(headerPanel_);
    countLabel_->setObjectName(QStringLiteral("prayTodayCountLabel"));

    auto* header = new QVBoxLayout(headerPanel_);
    auto* top = new QHBoxLayout;
    top->addWidget(title, 1);
    top->addWidget(dayEdit_);
    top->addWidget(todayButton_);
    header->addLayout(top);
    auto* second = new QHBoxLayout;
    second->addWidget(countLabel_, 1);
    second->addWidget(cycleLabel);
    second->addWidget(cycleEdit_);
    header->addLayout(second);

    list_ = makeViewerPanel(viewerPanel_, this);
    list_->setObjectName(QStringLiteral("prayTodayList"));
    list_->setAccessibleName(tr("Prayer items of the day"));
    connect(list_, &HtmlViewer::linkClicked, this,
            [this](const QString& href) { runGuarded(shell_.dialogs(), [this, href] { followLink(href); }); });
    QAction* copyAction = nullptr;
    QAction* selectAllAction = nullptr;
    makeViewerActions(list_, copyAction, selectAllAction, this);
    followText(list_, copyAction);
    stackPanels(this, headerPanel_, viewerPanel_);

    // Another page's change of an item (its status, a note) or a restore
    // shows at once while the page is open.
    auto refreshVisible = [this] {
        if (isVisible())
            runGuarded(shell_.dialogs(), [this] { refresh(); });
    };
    connect(&shell_.session(), &ObservableSession::prayersChanged, this, refreshVisible);
    connect(&shell_.session(), &ObservableSession::storesReplaced, this, refreshVisible);
}

sys_days PrayTodayPage::day() const
{
    return toSysDays(dayEdit_->date());
}

void PrayTodayPage::setDay(sys_days day)
{
    if (dayEdit_->date() == toQDate(day))
        refresh();
    else
        dayEdit_->setDate(toQDate(day)); // refills through dateChanged
}

void PrayTodayPage::refresh()
{
    core::PrayerStore& store = shell_.prayerStore();
    core::PrayerListStore(store).ensureTables(shell_.clock().today());
    core::PrayerListStore(store).recordDefaultSchedules();
    const sys_days shown = day();
    const std::vector<core::PrayerListItem> items = core::loadPrayerList(store, shown);
    core::PrayerListPageOptions options;
    options.bible = &shell_.bible();
    options.dateText = [](sys_days d) { return shortDateBytes(d); };
    html_ = core::prayerListHtml(items, shown, options);
    list_->loadFromBytes(html_);

    int open = 0;
    for (const core::PrayerListItem& item : items)
        open += item.prayed ? 0 : 1;
    countLabel_->setText(items.empty() ? QString()
                                       : tr("%n item(s) to pray for", nullptr, open) +
                                             (open < static_cast<int>(items.size())
                                                  ? tr(", %n prayed", nullptr, static_cast<int>(items.size()) - open)
                                                  : QString()));
    filling_ = true;
    cycleEdit_->setValue(core::PrayerListStore(store).cycleLength(shell_.clock().today()));
    filling_ = false;
    emit contentStateChanged();
}

void PrayTodayPage::followLink(const QString& href)
{
    const std::string link = href.toStdString();
    core::PrayerListStore list(shell_.prayerStore());
    const sys_days shown = day();
    if (auto index = core::prayerLinkIndex(link, core::kLinkPrayedPrefix))
        list.markPrayed(*index, shown);
    else if (auto undo = core::prayerLinkIndex(link, core::kLinkUnprayPrefix))
        list.unmarkPrayed(*undo, shown);
    else if (auto later = core::prayerLinkIndex(link, core::kLinkNotTodayPrefix))
        list.defer(*later, shown);
    else {
        if (href.startsWith(QStringLiteral("bible:")))
            emit bibleLinkClicked(href);
        return;
    }
    // The welcome page's list and any other view of the journal follow.
    shell_.session().notifyPrayersChanged();
    if (!isVisible())
        refresh();
}

void PrayTodayPage::changeCycleLength(int length)
{
    core::PrayerListStore list(shell_.prayerStore());
    list.ensureTables(shell_.clock().today());
    list.setCycleLength(length, shell_.clock().today());
    shell_.session().notifyPrayersChanged();
    if (!isVisible())
        refresh();
}

void PrayTodayPage::assignPreferences(Preferences& prefs)
{
    prefs_ = &prefs;
    applyDisplayPreferences(prefs, viewerPanel_, list_);
    if (!html_.empty())
        list_->loadFromBytes(html_);
}

QString PrayTodayPage::printTitle() const
{
    return tr("Pray Today %1").arg(dayEdit_->date().toString(Qt::ISODate));
}

void PrayTodayPage::showEvent(QShowEvent* event)
{
    ContentPage::showEvent(event);
    runGuarded(shell_.dialogs(), [this] { refresh(); });
}

} // namespace kovara::ui
