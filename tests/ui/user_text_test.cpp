// User text in message boxes and prompts: one plain line, long text cut in
// the middle; and the Qt boxes themselves show text as plain text.
#include "ui/base/user_text.h"
#include "ui/base/core_names.h"

#include "ui/base/dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace kovara::ui {
namespace {

const QString kEllipsis = QString(QChar(0x2026));

TEST(UserTextTest, OneLineAndLongTextCutInTheMiddle)
{
    const QString smile = QString::fromUtf8("\xf0\x9f\x98\x80"); // one character, two UTF-16 units
    const struct {
        QString text;
        int maxChars;
        QString shown;
    } cases[] = {
        {"", 10, ""},
        {"Big <i>italic</i> <u>u</u>", 80, "Big <i>italic</i> <u>u</u>"}, // markup left to the plain-text box
        {"0123456789", 10, "0123456789"},
        {"0123456789A", 10, "01234" + kEllipsis + "789A"},
        {"abcdefghijklmnopqrstuvwxyz", 7, "abc" + kEllipsis + "xyz"},
        {"first\r\nsecond\nthird\rfourth\tend", 80, "first second third fourth end"},
        {QString("a") + QChar(0x2028) + "b" + QChar(0x2029) + "c", 80, "a b c"},
        {"abc" + smile + "xyz0123", 9, "abc" + kEllipsis + "0123"}, // a pair across the start's cut
        {"abcdefg" + smile + "xyz", 9, "abcd" + kEllipsis + "xyz"}, // and across the end's
        {"abcdefgh", 1, "a" + kEllipsis + "h"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plainUserText(c.text, c.maxChars).toStdString(), c.shown.toStdString()) << c.text.toStdString();

    const QString prayerTitle = QString(2500, u'x') + QString(2500, u'y');
    const QString shown = plainUserText(prayerTitle);
    EXPECT_EQ(shown.size(), kShownUserTextChars);
    EXPECT_TRUE(shown.startsWith(QString(40, u'x') + kEllipsis)) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QString(39, u'y'))) << shown.toStdString();
}

// Runs show (which opens a modal dialog) and, once the dialog is up, hands
// it to inspect and closes it with Escape.
void inspectModal(const std::function<void()>& show, const std::function<void(QWidget*)>& inspect)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        seen = true;
        inspect(dialog);
        dialog->close();
    });
    show();
    EXPECT_TRUE(seen);
}

TEST(QtDialogsTest, BoxesAndPromptsShowTheirTextAsPlainText)
{
    QtDialogs dialogs;
    const QString text = "Delete \"Big <i>italic</i> <u>u</u>\"?";
    const auto checkBox = [&](QWidget* shown) {
        auto* box = qobject_cast<QMessageBox*>(shown);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), text);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_TRUE(box->textInteractionFlags() & Qt::TextSelectableByMouse);
    };
    inspectModal([&] { dialogs.message(text, Dialogs::Icon::Warning); }, checkBox);
    inspectModal([&] { EXPECT_FALSE(dialogs.confirm(text)); }, checkBox);
    inspectModal([&] { EXPECT_EQ(dialogs.confirmYesNoCancel(text), Dialogs::Answer::Cancel); }, checkBox);

    // The default button and the icon of a question follow the caller.
    inspectModal([&] { EXPECT_FALSE(dialogs.confirm(text, Dialogs::Answer::Yes, Dialogs::Icon::Warning)); },
                 [](QWidget* shown) {
                     auto* box = qobject_cast<QMessageBox*>(shown);
                     ASSERT_NE(box, nullptr);
                     EXPECT_EQ(box->icon(), QMessageBox::Warning);
                     EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::Yes));
                 });
    inspectModal([&] { EXPECT_FALSE(dialogs.confirm(text)); }, [](QWidget* shown) {
        auto* box = qobject_cast<QMessageBox*>(shown);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::No));
    });

    QString value = "proposal";
    inspectModal([&] { EXPECT_FALSE(dialogs.promptText("Rename Reading Plan", text, value)); },
                 [&](QWidget* shown) {
                     ASSERT_NE(qobject_cast<QInputDialog*>(shown), nullptr);
                     bool found = false;
                     for (QLabel* label : shown->findChildren<QLabel*>()) {
                         if (label->text() != text)
                             continue;
                         found = true;
                         EXPECT_EQ(label->textFormat(), Qt::PlainText);
                     }
                     EXPECT_TRUE(found);
                 });
    EXPECT_EQ(value, "proposal");
}

} // namespace
} // namespace kovara::ui
