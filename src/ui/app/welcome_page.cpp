#include "ui/app/welcome_page.h"
#include "ui/base/core_names.h"

#include "core/app/preferences.h"
#include "core/app/internal_links.h"
#include "core/app/welcome_page.h"
#include "core/base/exception.h"
#include "core/plans/plan_progress.h"
#include "ui/plans/plan_progress_text.h"
#include "ui/base/error_guard.h"
#include "ui/app/internal_links.h"
#include "ui/base/page_frame.h"
#include "ui/base/shell.h"
#include "ui/base/colors.h"
#include "ui/base/html_viewer.h"

#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QVBoxLayout>

namespace kovara::ui {

WelcomePage::WelcomePage(Dialogs& dialogs, QWidget* parent) : ContentPage(parent), dialogs_(dialogs)
{
    headerPanel = makeHeaderPanel(this);
    welcomeLabel = makeHeaderLabel(tr("Welcome to Kovara"), 6, true, false, headerPanel);
    welcomeLabel->setAlignment(Qt::AlignCenter);
    // A light edge below and to the right makes the caption stand out of the
    // panel.
    auto* raised = new QGraphicsDropShadowEffect(welcomeLabel);
    raised->setOffset(1, 1);
    raised->setBlurRadius(0);
    raised->setColor(palette().color(QPalette::Light));
    welcomeLabel->setGraphicsEffect(raised);
    auto* header = new QVBoxLayout(headerPanel);
    header->addWidget(welcomeLabel);

    htmlViewer = makeViewerPanel(viewerPanel, this);
    htmlViewer->setAccessibleName(tr("Welcome and Summary"));
    htmlViewer->setSelectionEnabled(false);
    connect(htmlViewer, &HtmlViewer::linkClicked, this, [this](const QString& href) { handleLinkClicked(href); });

    stackPanels(this, headerPanel, viewerPanel);
}

void WelcomePage::assignPreferences(Preferences& prefs)
{
    prefs_ = &prefs;
    applyDisplayPreferences(prefs, viewerPanel, htmlViewer);
    QPalette p = headerPanel->palette();
    p.setColor(QPalette::Window, pageBackColor(prefs));
    headerPanel->setPalette(p);
    htmlViewer->loadFromBytes(pageText_);
}

void WelcomePage::showPage(const std::string& html)
{
    pageText_ = html;
    htmlViewer->loadFromBytes(pageText_);
}

void WelcomePage::buildWelcomePage(const PlanStore& plans, const PrayerStore& prayers,
                                             const Preferences& prefs, const Clock& clock)
{
    showPage(buildWelcomePageText(plans, prayers, prefs, clock, [&](int plan) {
        return progressHtml(getPlanProgress(plans, plan, clock.now()), format("%s%d", kLinkCatchUpPrefix, plan));
    }));
}

void WelcomePage::buildWelcomePage(Shell& shell)
{
    buildWelcomePage(shell.planStore(), shell.prayerStore(), shell.preferences(), shell.clock());
    shell.showPage(Page::Welcome);
}

void WelcomePage::handleLinkClicked(const QString& link)
{
    if (!linkTarget_)
        return;
    runGuarded(dialogs_, [&] { handleInternalLink(link, *linkTarget_, dialogs_); });
}

} // namespace kovara::ui
