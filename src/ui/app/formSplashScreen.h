#pragma once
#include <QWidget>

namespace kovara::ui {

// The borderless 204 x 204 splash window shown, centred, while the main window
// opens its stores.
class TFormSplash : public QWidget {
public:
    TFormSplash();

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kovara::ui
