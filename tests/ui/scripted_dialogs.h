#pragma once
// A Dialogs implementation that answers from a script: each expected dialog
// names its exact text and the planned answer. An unexpected dialog, or a text
// that differs, fails the test.
#include "ui/base/core_names.h"
#include "ui/base/dialogs.h"

#include <QString>
#include <deque>
#include <gtest/gtest.h>

namespace kovara::ui::test {

class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Message, Confirm, YesNoCancel, Prompt, SaveFile, OpenFile, Print, PrinterSetup };

    struct Step {
        Kind kind;
        QString text;          // message, question, prompt label or dialog title
        Answer answer = Answer::Yes;
        QString value = {};    // typed text or chosen file name
        int fromPage = 0;
        int toPage = 0;
        bool accept = true;    // for Prompt, Print and printerSetup
        // For Confirm: the default button and the icon the question must have.
        Answer defaultAnswer = Answer::No;
        Icon icon = Icon::Question;
    };

    ~ScriptedDialogs() override { EXPECT_TRUE(steps_.empty()) << "dialogs expected but not shown: " << steps_.size(); }

    void expectMessage(const QString& text) { steps_.push_back({Kind::Message, text, Answer::Yes, {}}); }
    void expectConfirm(const QString& text, bool yes, Answer defaultAnswer = Answer::No, Icon icon = Icon::Question)
    {
        Step s{Kind::Confirm, text, yes ? Answer::Yes : Answer::No, {}};
        s.defaultAnswer = defaultAnswer;
        s.icon = icon;
        steps_.push_back(s);
    }
    void expectYesNoCancel(const QString& text, Answer answer) { steps_.push_back({Kind::YesNoCancel, text, answer, {}}); }
    void expectPrompt(const QString& label, const QString& typed, bool accept = true)
    {
        Step s{Kind::Prompt, label, Answer::Yes, {}};
        s.value = typed;
        s.accept = accept;
        steps_.push_back(s);
    }
    void expectSaveFile(const QString& title, const QString& chosen) { steps_.push_back({Kind::SaveFile, title, Answer::Yes, chosen}); }
    void expectOpenFile(const QString& title, const QString& chosen) { steps_.push_back({Kind::OpenFile, title, Answer::Yes, chosen}); }
    void expectPrint(bool accept, int fromPage = 0, int toPage = 0)
    {
        Step s{Kind::Print, QString(), Answer::Yes, {}};
        s.accept = accept;
        s.fromPage = fromPage;
        s.toPage = toPage;
        steps_.push_back(s);
    }
    void expectPrinterSetup(bool accept)
    {
        Step s{Kind::PrinterSetup, QString(), Answer::Yes, {}};
        s.accept = accept;
        steps_.push_back(s);
    }
    bool done() const { return steps_.empty(); }

    // What the last prompt proposed (the value it was shown with).
    QString lastProposal;
    // Page range the last print dialog was offered.
    int lastMinPage = 0, lastMaxPage = 0;

    void message(const QString& text, Icon) override { next(Kind::Message, text); }
    bool confirm(const QString& text, Answer defaultAnswer = Answer::No, Icon icon = Icon::Question) override
    {
        const Step s = next(Kind::Confirm, text);
        EXPECT_EQ(static_cast<int>(defaultAnswer), static_cast<int>(s.defaultAnswer)) << "default button for: " << text.toStdString();
        EXPECT_EQ(static_cast<int>(icon), static_cast<int>(s.icon)) << "icon for: " << text.toStdString();
        return s.answer == Answer::Yes;
    }
    Answer confirmYesNoCancel(const QString& text) override { return next(Kind::YesNoCancel, text).answer; }
    bool promptText(const QString&, const QString& label, QString& value) override
    {
        lastProposal = value;
        const Step s = next(Kind::Prompt, label);
        if (s.accept)
            value = s.value;
        return s.accept;
    }
    QString chooseSaveFile(const QString& title, const QString&, const QString& initialPath) override
    {
        lastSaveProposal = initialPath;
        return next(Kind::SaveFile, title).value;
    }
    // The path the last save dialog proposed.
    QString lastSaveProposal;
    QString chooseOpenFile(const QString& title, const QString&, const QString&) override { return next(Kind::OpenFile, title).value; }
    bool print(QPrinter&, int minPage, int maxPage, int& fromPage, int& toPage) override
    {
        lastMinPage = minPage;
        lastMaxPage = maxPage;
        const Step s = next(Kind::Print, QString());
        fromPage = s.fromPage;
        toPage = s.toPage;
        return s.accept;
    }
    bool printerSetup(QPrinter&) override { return next(Kind::PrinterSetup, QString()).accept; }

private:
    Step next(Kind kind, const QString& text)
    {
        if (steps_.empty()) {
            ADD_FAILURE() << "unexpected dialog: " << text.toStdString();
            return Step{kind, text, Answer::Cancel, QString(), 0, 0, false};
        }
        Step s = steps_.front();
        steps_.pop_front();
        EXPECT_EQ(static_cast<int>(s.kind), static_cast<int>(kind)) << "dialog kind for: " << text.toStdString();
        if (kind != Kind::Print && kind != Kind::PrinterSetup) {
            EXPECT_EQ(s.text.toStdString(), text.toStdString());
        }
        return s;
    }

    std::deque<Step> steps_;
};

} // namespace kovara::ui::test
