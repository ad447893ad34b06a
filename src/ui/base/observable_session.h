#pragma once
// What changed in the user's data, for whoever shows it. Commands that change
// plans, prayers or preferences, or replace both stores (restore, the
// version-1 import), say so here; pages and controllers connect to the
// signals and refresh themselves, so no command needs to know which views
// show what it changed.
#include "core/plans/plan_id.h"

#include <QObject>

namespace kovara::ui {

class ObservableSession : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void notifyStoresReplaced() { emit storesReplaced(); }
    // A null plan: the list of plans itself changed (a plan added or removed).
    void notifyPlansChanged(const kovara::core::PlanId& plan = {}) { emit plansChanged(plan); }
    void notifyPrayersChanged() { emit prayersChanged(); }
    void notifyPreferencesChanged() { emit preferencesChanged(); }

signals:
    // Both user stores were closed and opened again on other files: every
    // view of their data is out of date.
    void storesReplaced();
    void plansChanged(const kovara::core::PlanId& plan);
    void prayersChanged();
    void preferencesChanged();
};

} // namespace kovara::ui
