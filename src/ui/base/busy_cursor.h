#pragma once
// The application-wide busy cursor for the length of a scope: set when made,
// restored when the scope ends, whether it ends normally or by an exception.
#include "ui/base/core_names.h"
#include <QCursor>
#include <QGuiApplication>

namespace kovara::ui {

class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace kovara::ui
