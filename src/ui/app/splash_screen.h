#pragma once
#include "ui/base/core_names.h"
#include <QWidget>

namespace kovara::ui {

// The borderless 204 x 204 splash window shown, centred, while the main window
// opens its stores.
class SplashScreen : public QWidget {
public:
    SplashScreen();

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kovara::ui
