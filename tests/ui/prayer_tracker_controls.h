#pragma once
// The prayer page's widgets and commands, found by their object names, for
// tests that read and press them as the reader does.
#include "ui/prayer/prayer_tracker_page.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTextEdit>

namespace kovara::ui::test {

struct PrayerTrackerControls {
    explicit PrayerTrackerControls(const PrayerTrackerPage& page)
        : headingLabel(page.findChild<QLabel*>("prayerHeadingLabel")),
          statusTabs(page.findChild<QTabBar*>("statusTabs")),
          searchEdit(page.findChild<QLineEdit*>("searchEdit")),
          splitter(page.findChild<QSplitter*>("splitter")),
          prayerList(page.findChild<QListWidget*>("prayerList")),
          prayerTitleLabel(page.findChild<QLabel*>("prayerTitleLabel")),
          prayerDetailsLabel(page.findChild<QLabel*>("prayerDetailsLabel")),
          prayerJournalLabel(page.findChild<QLabel*>("prayerJournalLabel")),
          textEdit(page.findChild<QTextEdit*>("textEdit")),
          contextMenu(page.findChild<QMenu*>("textContextMenu")),
          statusButton(page.findChild<QPushButton*>("statusButton")),
          statusMenu(page.findChild<QMenu*>("statusMenu")),
          deletePrayerButton(page.findChild<QPushButton*>("deletePrayerButton")),
          editPrayerButton(page.findChild<QPushButton*>("editPrayerButton")),
          editPrayerAction(page.findChild<QAction*>("editPrayerAction")),
          deletePrayerAction(page.findChild<QAction*>("deletePrayerAction")),
          prayerStatusAction(page.findChild<QAction*>("prayerStatusAction")),
          setStatusActiveAction(page.findChild<QAction*>("setStatusActiveAction")),
          setStatusAnsweredAction(page.findChild<QAction*>("setStatusAnsweredAction")),
          setStatusInactiveAction(page.findChild<QAction*>("setStatusInactiveAction")),
          copyAction(page.findChild<QAction*>("copyAction")),
          selectAllAction(page.findChild<QAction*>("selectAllAction"))
    {
    }

    QLabel* headingLabel;
    QTabBar* statusTabs;
    QLineEdit* searchEdit;
    QSplitter* splitter;
    QListWidget* prayerList;
    QLabel* prayerTitleLabel;
    QLabel* prayerDetailsLabel;
    QLabel* prayerJournalLabel;
    QTextEdit* textEdit;
    QMenu* contextMenu;
    QPushButton* statusButton;
    QMenu* statusMenu;
    QPushButton* deletePrayerButton;
    QPushButton* editPrayerButton;
    QAction* editPrayerAction;
    QAction* deletePrayerAction;
    QAction* prayerStatusAction;
    QAction* setStatusActiveAction;
    QAction* setStatusAnsweredAction;
    QAction* setStatusInactiveAction;
    QAction* copyAction;
    QAction* selectAllAction;
};

} // namespace kovara::ui::test
