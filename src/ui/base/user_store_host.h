#pragma once
#include "ui/base/core_names.h"
// The main window's side of the commands that replace the user's data
// (backup, restore, the version-1 import): closing and reopening the two user
// stores around file work. The views of their data follow the session's
// signals afterwards.

namespace kovara::ui {

// What backup, restore and the version-1 import need from the main window
// beyond Shell: freeing and recreating the two user stores.
class UserStoreHost {
public:
    virtual ~UserStoreHost() = default;

    // Frees the prayer store, then the plan store, closing their database
    // files. Afterwards Shell::prayerStore() and Shell::planStore() must not
    // be called until openUserStores has run. While they are closed a progress
    // window may be shown, so paint events and timers can still be delivered
    // (no user input: the progress window is application-modal).
    virtual void closeUserStores() = 0;
    // Creates each store that is missing again on its path: the plan store
    // first, then the prayer store, retrying for a moment while another
    // program finishes a write. Raises when a store cannot be opened; a
    // store opened before the failure stays open, and the one still missing
    // is opened again on its next use.
    virtual void openUserStores() = 0;
};

} // namespace kovara::ui
