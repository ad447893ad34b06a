#include "ui/content/devotional_page.h"
#include "ui/base/core_names.h"

#include "core/app/preferences.h"
#include "core/base/datetime.h"
#include "core/content/devotional_store.h"
#include "ui/base/dates.h"
#include "ui/base/error_guard.h"
#include "ui/base/page_frame.h"
#include "ui/base/html_viewer.h"
#include "ui/content/date_field.h"
#include "ui/base/text_codec.h"
#include "ui/base/text_zoom.h"

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

DevotionalPage::DevotionalPage(const Clock& clock, Dialogs& dialogs, QWidget* parent)
    : ContentPage(parent), clock_(clock), dialogs_(dialogs)
{
    headerPanel_ = makeHeaderPanel(this);
    titleLabel_ = makeHeaderLabel(tr("Devotional Title"), 6, true, true, headerPanel_);
    titleLabel_->setObjectName(QStringLiteral("devotionalTitleLabel"));
    authorLabel_ = makeHeaderLabel(tr("Devotional Author"), 1, false, true, headerPanel_);
    authorLabel_->setObjectName(QStringLiteral("devotionalAuthorLabel"));

    dateEdit_ = new DateField(headerPanel_);
    dateEdit_->setObjectName(QStringLiteral("devotionalDateEdit"));
    dateEdit_->setAccessibleName(tr("Date"));
    dateEdit_->setCalendarPopup(true);
    // The reader's short date (in the program's language), with the year in full so a typed date cannot
    // land in the wrong century.
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    dateEdit_->setDisplayFormat(format);
    dateEdit_->setMinimumDate(QDate(1753, 1, 1));
    dateEdit_->setDate(QDate(2000, 1, 1)); // overwritten by the first setDevotional
    // The pop-up calendar keeps Qt's defaults (navigation bar, short day
    // names): Qt then builds it when it is first opened instead of at every
    // start of the program.
    connect(dateEdit_, &QDateEdit::dateChanged, this, [this] { onDateChanged(); });

    // Back to today's entry in one click; like any date change it does not
    // count as having opened today's reading.
    todayButton_ = new QToolButton(headerPanel_);
    todayButton_->setObjectName(QStringLiteral("todayButton"));
    todayButton_->setText(tr("Today"));
    todayButton_->setToolTip(tr("Show today's entry"));
    connect(todayButton_, &QToolButton::clicked, this,
            [this] { dateEdit_->setDate(toQDate(clock_.today())); });

    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(dateEdit_);
    dateRow->addWidget(todayButton_);
    auto* names = new QVBoxLayout;
    names->addWidget(titleLabel_);
    names->addWidget(authorLabel_);
    auto* header = new QHBoxLayout(headerPanel_);
    header->addLayout(names, 1);
    header->addLayout(dateRow);
    header->setAlignment(dateRow, Qt::AlignTop | Qt::AlignRight);

    htmlViewer_ = makeViewerPanel(viewerPanel_, this);
    htmlViewer_->setObjectName(QStringLiteral("devotionalViewer"));
    htmlViewer_->setAccessibleName(tr("Devotional"));
    connect(htmlViewer_, &HtmlViewer::linkClicked, this, &DevotionalPage::linkClicked);
    makeViewerActions(htmlViewer_, copyAction_, selectAllAction_, this);
    followText(htmlViewer_, copyAction_);
    zoom_ = new TextZoom(htmlViewer_, this);

    stackPanels(this, headerPanel_, viewerPanel_);
}

void DevotionalPage::setDevotional(DevotionalStore& devotional)
{
    const bool changedStore = devotional_ != &devotional;
    devotional_ = &devotional;
    titleLabel_->setText(fromBytes(devotional.title()));
    authorLabel_->setText(tr("by %1").arg(fromBytes(devotional.author())));
    const QDate today = toQDate(clock_.today());
    if (dateEdit_->date() != today)
        dateEdit_->setDate(today); // signals the change, which loads the entry
    else if (changedStore)
        onDateChanged();
}

void DevotionalPage::openFaithsCheckbook(DevotionalStore& devotional, Preferences& prefs)
{
    setDevotional(devotional);
    prefs.lastFaithsCheckbookRead = dayOfYear(clock_.today());
}

QDate DevotionalPage::date() const
{
    return dateEdit_->date();
}

void DevotionalPage::setDate(const QDate& date)
{
    dateEdit_->setDate(date);
}

QString DevotionalPage::printTitle() const
{
    return titleLabel_->text() + QLatin1Char(' ') + dateEdit_->date().toString(Qt::ISODate);
}

void DevotionalPage::assignPreferences(Preferences& prefs)
{
    prefs_ = &prefs;
    applyDisplayPreferences(prefs, viewerPanel_, htmlViewer_);
    zoom_->apply(prefs);
    htmlViewer_->loadFromBytes(pageText_);
}

void DevotionalPage::onDateChanged()
{
    if (!devotional_)
        return;
    runGuarded(dialogs_, [this] {
        const QDate date = dateEdit_->date();
        pageText_ = devotional_->entryByDay(date.month(), date.day());
        htmlViewer_->loadFromBytes(pageText_);
    });
}

} // namespace kovara::ui
