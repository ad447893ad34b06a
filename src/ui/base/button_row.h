#pragma once
// A row of buttons that wraps instead of squeezing them: when the room is
// narrower than the buttons need side by side (a long caption, a translation,
// a narrow window), the buttons that do not fit go on to a new line below.
// It is filled like a QHBoxLayout: addStretch() once splits the buttons into
// those held to the left edge and those held to the right edge of each line.
#include "ui/base/core_names.h"

#include <QLayout>
#include <QList>

namespace kovara::ui {

class ButtonRow : public QLayout {
public:
    explicit ButtonRow(QWidget* parent = nullptr);
    ~ButtonRow() override;

    // The buttons added from here on sit at the right edge; those before at
    // the left. Without it every button sits at the right edge.
    void addStretch(int stretch = 0);

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Places the items in rect (or only measures, with place false) and
    // returns the height they take.
    int arrange(const QRect& rect, bool place) const;
    int gap() const;

    QList<QLayoutItem*> items_;
    int firstRight_ = 0;
};

} // namespace kovara::ui
