#include "ui/app/frameWelcomePage.h"

#include "app/kova_prefs.h"
#include "app/welcome_page.h"
#include "ui/app/error_guard.h"
#include "ui/app/internal_links.h"
#include "ui/content/frame_common.h"
#include "ui/shell.h"
#include "ui/widgets/colors.h"
#include "ui/widgets/html_viewer.h"

#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QVBoxLayout>

namespace kovara::ui {

TFrameKOVAWelcomePage::TFrameKOVAWelcomePage(Dialogs& dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs)
{
    RzPanelTop = MakeHeaderPanel(this);
    RzLabel1 = MakeHeaderLabel(tr("Welcome to Kovara"), 6, true, false, RzPanelTop);
    RzLabel1->setAlignment(Qt::AlignCenter);
    // A light edge below and to the right makes the caption stand out of the
    // panel.
    auto* raised = new QGraphicsDropShadowEffect(RzLabel1);
    raised->setOffset(1, 1);
    raised->setBlurRadius(0);
    raised->setColor(palette().color(QPalette::Light));
    RzLabel1->setGraphicsEffect(raised);
    auto* header = new QVBoxLayout(RzPanelTop);
    header->addWidget(RzLabel1);

    HTMLViewer1 = MakeViewerPanel(RzPanelBottom, this);
    HTMLViewer1->SetSelectionEnabled(false);
    connect(HTMLViewer1, &HtmlViewer::LinkClicked, this, [this](const QString& href) { HTMLViewer1HotSpotClick(href); });

    StackPanels(this, RzPanelTop, RzPanelBottom);
}

void TFrameKOVAWelcomePage::AssignPreferences(TKOVAPreferences& prefs)
{
    prefs_ = &prefs;
    ApplyDisplayPreferences(prefs, RzPanelBottom, HTMLViewer1);
    QPalette p = RzPanelTop->palette();
    p.setColor(QPalette::Window, ToQColor(prefs.TextBackColor));
    RzPanelTop->setPalette(p);
    HTMLViewer1->LoadFromBytes(pageText_);
}

void TFrameKOVAWelcomePage::ShowPage(const std::string& html)
{
    pageText_ = html;
    HTMLViewer1->LoadFromBytes(pageText_);
}

void TFrameKOVAWelcomePage::BuildWelcomePage(const TKOVAReadPlans& plans, const TKOVAPrayerTracker& prayers,
                                             const TKOVAPreferences& prefs, const Clock& clock)
{
    ShowPage(BuildWelcomePageText(plans, prayers, prefs, clock));
}

void TFrameKOVAWelcomePage::BuildWelcomePage(Shell& shell)
{
    BuildWelcomePage(shell.ReadPlans(), shell.PrayerTracker(), shell.Preferences(), shell.GetClock());
    shell.ShowPage(Page::Welcome);
}

void TFrameKOVAWelcomePage::HTMLViewer1HotSpotClick(const QString& link)
{
    if (!linkTarget_)
        return;
    RunGuarded(dialogs_, [&] { HandleInternalLink(link, *linkTarget_, dialogs_); });
}

} // namespace kovara::ui
