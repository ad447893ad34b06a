#pragma once
// The "Pray Today" page: the prayer items that come up on a day (today, or
// any day picked to look ahead or back), grouped by topic with their latest
// note and verses. "Prayed" marks an item for the day (with Undo), "Not today"
// moves it to the next day, a verse opens on the Bible page. The length of
// the cycle over which the items in turn are spread is set here too.
//
// The list's tables are made the first time the page is shown, never before.
// The page never keeps the prayer store (backup and restore replace it).
#include "ui/base/content_page.h"
#include "core/base/datetime.h"
#include "ui/base/core_names.h"

#include <string>

class QDateEdit;
class QFrame;
class QLabel;
class QPushButton;
class QSpinBox;

namespace kovara::ui {

class Shell;

class PrayTodayPage : public ContentPage {
    Q_OBJECT
public:
    explicit PrayTodayPage(Shell& shell, QWidget* parent = nullptr);

    // The day shown; setting it refills the list.
    sys_days day() const;
    void setDay(sys_days day);
    // Makes the list's tables when missing and refills the page from the
    // store.
    void refresh();
    // Runs a link of the list: the item commands, or a verse (announced).
    void followLink(const QString& href);

    void assignPreferences(Preferences& prefs) override;
    HtmlViewer* pagedPrintout() const override { return list_; }
    QString printTitle() const override;
    HelpContext helpContext() const override { return HelpContext::PrayerTracker; }

signals:
    // A verse's link ("bible:43.3.16"), to open on the Bible page.
    void bibleLinkClicked(const QString& href);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void changeCycleLength(int length);

    Shell& shell_;
    QDateEdit* dayEdit_ = nullptr;
    QPushButton* todayButton_ = nullptr;
    QSpinBox* cycleEdit_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QFrame* headerPanel_ = nullptr;
    QFrame* viewerPanel_ = nullptr;
    HtmlViewer* list_ = nullptr;
    Preferences* prefs_ = nullptr;
    std::string html_;
    bool filling_ = false;
};

} // namespace kovara::ui
