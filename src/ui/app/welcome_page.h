#pragma once
// The welcome page: a title panel and, below it, the summary of plans, prayer
// items and today's devotional in an HTML viewer whose links run the
// program's commands.
#include "ui/base/core_names.h"
#include "ui/base/content_page.h"
#include <string>

class QFrame;
class QLabel;
class QString;

namespace kovara::core {
class Clock;
class Preferences;
class PrayerStore;
class PlanStore;
} // namespace kovara::core

namespace kovara::ui {

class Dialogs;
class HtmlViewer;
class Shell;
class WelcomeLinkTarget;

class WelcomePage : public ContentPage {
    Q_OBJECT
public:
    // dialogs shows the unknown-link message and the errors of a clicked link
    // (the click arrives inside Qt's signal and must not raise). Not owned;
    // must outlive the frame.
    explicit WelcomePage(Dialogs& dialogs, QWidget* parent = nullptr);

    // Where clicked links go (not owned; must outlive the frame). Until one is
    // set, clicks do nothing.
    void setLinkTarget(WelcomeLinkTarget& target) { linkTarget_ = &target; }

    // Keeps prefs (not owned), applies its background to the panel and viewer
    // and its font and text colour to the viewer, and loads the kept page again.
    void assignPreferences(Preferences& prefs) override;

    // Keeps html and loads it into the viewer.
    void showPage(const std::string& html);

    // Builds the summary from the given stores and shows it. Store errors
    // propagate and leave the page shown before.
    void buildWelcomePage(const PlanStore& plans, const PrayerStore& prayers,
                          const Preferences& prefs, const Clock& clock);
    // The main window's form: builds from the shell's current stores,
    // preferences and clock, then makes the welcome page the current page.
    void buildWelcomePage(Shell& shell);
    // Follows shell's session: the summary is built again when the stores
    // are replaced (and shown) or when plans or prayers change (in place,
    // without taking the reader away from the page shown).
    void followSession(Shell& shell);

    // A link in the viewer was clicked: the viewer never follows it itself;
    // the link goes to handleInternalLink, under the error guard.
    void handleLinkClicked(const QString& link);

    // The HTML text shown now (empty before the first page).
    const std::string& pageText() const { return pageText_; }
    HtmlViewer* viewer() const { return htmlViewer_; }

signals:
    // The link of today's prayer list was clicked.
    void prayTodayRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QFrame* headerPanel_;
    QLabel* welcomeLabel_; // "Welcome to Kovara"
    QFrame* viewerPanel_;
    HtmlViewer* htmlViewer_;

    Dialogs& dialogs_;
    WelcomeLinkTarget* linkTarget_ = nullptr;
    Preferences* prefs_ = nullptr;
    std::string pageText_;
    bool shownOnce_ = false;
};

} // namespace kovara::ui
