#include "ui/app/welcome_page.h"
#include "ui/base/core_names.h"

#include "core/app/preferences.h"
#include "core/app/internal_links.h"
#include "core/app/welcome_page.h"
#include "core/base/exception.h"
#include "core/plans/plan_progress.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_list_page.h"
#include "ui/plans/plan_progress_text.h"
#include "ui/base/error_guard.h"
#include "ui/app/internal_links.h"
#include "ui/base/page_frame.h"
#include "ui/base/shell.h"
#include "ui/base/colors.h"
#include "ui/base/html_viewer.h"
#include "ui/base/text_codec.h"
#include "ui/base/dates.h"

#include <QApplication>
#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace kovara::ui {

WelcomePage::WelcomePage(Dialogs& dialogs, QWidget* parent) : ContentPage(parent), dialogs_(dialogs)
{
    headerPanel_ = makeHeaderPanel(this);
    welcomeLabel_ = makeHeaderLabel(tr("Welcome to Kovara"), 6, true, false, headerPanel_);
    welcomeLabel_->setObjectName(QStringLiteral("welcomeLabel"));
    welcomeLabel_->setAlignment(Qt::AlignCenter);
    // A light edge below and to the right makes the caption stand out of the
    // panel.
    auto* raised = new QGraphicsDropShadowEffect(welcomeLabel_);
    raised->setOffset(1, 1);
    raised->setBlurRadius(0);
    raised->setColor(palette().color(QPalette::Light));
    welcomeLabel_->setGraphicsEffect(raised);
    auto* header = new QVBoxLayout(headerPanel_);
    header->addWidget(welcomeLabel_);

    // While it is made, the viewer lays out an empty page in the
    // application's font, before it takes the one it shows. Made under the
    // window's font, which the window draws with anyway, start-up loads no
    // font just for that: a font is the dearest thing the first window loads.
    const QFont applicationFont = QApplication::font();
    QApplication::setFont(windowFont());
    htmlViewer_ = makeViewerPanel(viewerPanel_, this);
    QApplication::setFont(applicationFont);
    htmlViewer_->setAccessibleName(tr("Welcome and Summary"));
    htmlViewer_->setSelectionEnabled(false);
    // The summary usually fills more than the first window: with the scroll
    // bar on from the start, the page is laid out once at the width it keeps
    // instead of a second time when the scroll bar appears. The bar goes back
    // to "as needed" right after the first show (see showEvent).
    htmlViewer_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(htmlViewer_, &HtmlViewer::linkClicked, this, [this](const QString& href) { handleLinkClicked(href); });

    stackPanels(this, headerPanel_, viewerPanel_);
}

void WelcomePage::showEvent(QShowEvent* event)
{
    ContentPage::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    QTimer::singleShot(0, htmlViewer_, [viewer = htmlViewer_] {
        viewer->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    });
}

void WelcomePage::assignPreferences(Preferences& prefs)
{
    prefs_ = &prefs;
    applyDisplayPreferences(prefs, viewerPanel_, htmlViewer_);
    QPalette p = headerPanel_->palette();
    p.setColor(QPalette::Window, pageBackColor(prefs));
    headerPanel_->setPalette(p);
    htmlViewer_->loadFromBytes(pageText_);
}

void WelcomePage::showPage(const std::string& html)
{
    pageText_ = html;
    htmlViewer_->loadFromBytes(pageText_);
}

void WelcomePage::buildWelcomePage(const PlanStore& plans, const PrayerStore& prayers,
                                             const Preferences& prefs, const Clock& clock)
{
    // Today's prayer list follows once the reader has used it.
    showPage(buildWelcomePageText(plans, prayers, prefs, clock, [&](int plan) {
        return progressHtml(planProgress(plans, plan, clock.today()), catchUpLink(plans.id(plan)));
    }, [](sys_days d) { return toBytes(longDateText(d)); }) +
             core::prayerListSection(prayers, clock.today(), [](sys_days d) { return shortDateBytes(d); }));
}

void WelcomePage::buildWelcomePage(Shell& shell)
{
    buildWelcomePage(shell.planStore(), shell.prayerStore(), shell.preferences(), shell.clock());
    shell.showPage(Page::Welcome);
}

void WelcomePage::followSession(Shell& shell)
{
    ObservableSession& events = shell.session();
    const auto rebuild = [this, &shell](bool show) {
        runGuarded(dialogs_, [&] {
            if (show)
                buildWelcomePage(shell);
            else
                buildWelcomePage(shell.planStore(), shell.prayerStore(), shell.preferences(), shell.clock());
        });
    };
    connect(&events, &ObservableSession::storesReplaced, this, [rebuild] { rebuild(true); });
    connect(&events, &ObservableSession::plansChanged, this, [rebuild] { rebuild(false); });
    connect(&events, &ObservableSession::prayersChanged, this, [rebuild] { rebuild(false); });
}

void WelcomePage::handleLinkClicked(const QString& link)
{
    if (link == QLatin1String(core::kLinkPrayToday)) {
        emit prayTodayRequested();
        return;
    }
    if (!linkTarget_)
        return;
    runGuarded(dialogs_, [&] { handleInternalLink(link, *linkTarget_, dialogs_); });
}

} // namespace kovara::ui
