#include "ui/content/devotional_page.h"
#include "ui/base/core_names.h"

#include "core/app/preferences.h"
#include "core/base/datetime.h"
#include "core/content/devotional_store.h"
#include "ui/base/error_guard.h"
#include "ui/base/page_frame.h"
#include "ui/base/html_viewer.h"
#include "ui/content/date_field.h"
#include "ui/base/text_codec.h"

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

QDate toQDate(DateTime t)
{
    const auto date = decodeDate(t);
    return QDate(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                 static_cast<int>(static_cast<unsigned>(date.day())));
}

} // namespace

DevotionalPage::DevotionalPage(const Clock& clock, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), clock_(clock), dialogs_(dialogs)
{
    headerPanel = makeHeaderPanel(this);
    titleLabel = makeHeaderLabel(tr("Devotional Title"), 6, true, true, headerPanel);
    authorLabel = makeHeaderLabel(tr("Devotional Author"), 1, false, true, headerPanel);

    dateEdit = new DateField(headerPanel);
    dateEdit->setAccessibleName(tr("Date"));
    dateEdit->setCalendarPopup(true);
    // The system's short date, with the year in full so a typed date cannot
    // land in the wrong century.
    QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    dateEdit->setDisplayFormat(format);
    dateEdit->setMinimumDate(QDate(1753, 1, 1));
    dateEdit->setDate(QDate(2000, 1, 1)); // overwritten by the first setDevotional
    // The pop-up calendar keeps Qt's defaults (navigation bar, short day
    // names): Qt then builds it when it is first opened instead of at every
    // start of the program.
    connect(dateEdit, &QDateEdit::dateChanged, this, [this] { onDateChanged(); });

    // Back to today's entry in one click; like any date change it does not
    // count as having opened today's reading.
    todayButton = new QToolButton(headerPanel);
    todayButton->setText(tr("Today"));
    todayButton->setToolTip(tr("Show today's entry"));
    connect(todayButton, &QToolButton::clicked, this,
            [this] { dateEdit->setDate(toQDate(clock_.today())); });

    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(dateEdit);
    dateRow->addWidget(todayButton);
    auto* names = new QVBoxLayout;
    names->addWidget(titleLabel);
    names->addWidget(authorLabel);
    auto* header = new QHBoxLayout(headerPanel);
    header->addLayout(names, 1);
    header->addLayout(dateRow);
    header->setAlignment(dateRow, Qt::AlignTop | Qt::AlignRight);

    htmlViewer = makeViewerPanel(viewerPanel, this);
    htmlViewer->setAccessibleName(tr("Devotional"));
    makeViewerActions(htmlViewer, copyAction, selectAllAction, this);

    stackPanels(this, headerPanel, viewerPanel);
}

void DevotionalPage::setDevotional(DevotionalStore& devotional)
{
    const bool changedStore = devotional_ != &devotional;
    devotional_ = &devotional;
    titleLabel->setText(fromBytes(devotional.title()));
    authorLabel->setText(tr("by %1").arg(fromBytes(devotional.author())));
    const QDate today = toQDate(clock_.today());
    if (dateEdit->date() != today)
        dateEdit->setDate(today); // signals the change, which loads the entry
    else if (changedStore)
        onDateChanged();
}

void DevotionalPage::openFaithsCheckbook(DevotionalStore& devotional, Preferences& prefs)
{
    setDevotional(devotional);
    prefs.lastFaithsCheckbookRead = dayOfYear(clock_.now());
}

void DevotionalPage::assignPreferences(Preferences& prefs)
{
    prefs_ = &prefs;
    applyDisplayPreferences(prefs, viewerPanel, htmlViewer);
    htmlViewer->loadFromBytes(pageText_);
}

void DevotionalPage::onDateChanged()
{
    if (!devotional_)
        return;
    runGuarded(dialogs_, [this] {
        const QDate date = dateEdit->date();
        pageText_ = devotional_->getEntryByDay(date.month(), date.day());
        htmlViewer->loadFromBytes(pageText_);
    });
}

} // namespace kovara::ui
