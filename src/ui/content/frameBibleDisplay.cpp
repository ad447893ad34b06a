#include "ui/content/frameBibleDisplay.h"

#include "app/kova_prefs.h"
#include "content/kova_bible.h"
#include "content/passage_page.h"
#include "ui/content/frame_common.h"
#include "ui/widgets/busy_cursor.h"
#include "ui/widgets/html_viewer.h"
#include "ui/widgets/text_codec.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace kovara::ui {

TFrameKOVABibleDisplay::TFrameKOVABibleDisplay(QWidget* parent) : QWidget(parent)
{
    RzPanelTop = MakeHeaderPanel(this);
    Label1 = MakeHeaderLabel(tr("Bible Reading Plan"), 0, true, false, RzPanelTop);
    LabelTitle = MakeHeaderLabel(tr("Reading Plan Title"), 6, true, true, RzPanelTop);
    LabelDate = MakeHeaderLabel(tr("Plan day info"), 1, false, false, RzPanelTop);
    auto* header = new QVBoxLayout(RzPanelTop);
    header->addWidget(Label1);
    header->addWidget(LabelTitle);
    header->addWidget(LabelDate);

    HTMLViewer1 = MakeViewerPanel(RzPanelBottom, this);
    MakeViewerActions(HTMLViewer1, ActionCopy, ActionSelectAll, this);

    StackPanels(this, RzPanelTop, RzPanelBottom);
}

void TFrameKOVABibleDisplay::AssignPreferences(TKOVAPreferences& prefs)
{
    prefs_ = &prefs;
    ApplyDisplayPreferences(prefs, RzPanelBottom, HTMLViewer1);
    if (!verseSpec_.empty())
        RenderPassage();
}

void TFrameKOVABibleDisplay::LoadPlanVerses(const std::string& verseSpec, const std::string& title,
                                            const std::string& dayLine, TKOVABible& bible)
{
    if (!prefs_)
        throw Exception("Preferences not yet assigned on LoadPlanVerses");
    LabelTitle->setText(FromBytes(title));
    LabelDate->setText(FromBytes(dayLine));
    title_ = title;
    dayLine_ = dayLine;
    bible_ = &bible;
    verseSpec_ = verseSpec;
    RenderPassage();
}

void TFrameKOVABibleDisplay::RenderPassage()
{
    if (!prefs_ || !bible_)
        return;
    BusyCursor busy;
    HTMLViewer1->LoadFromString(QStringLiteral("Loading..."));
    if (HTMLViewer1->isVisible())
        HTMLViewer1->viewport()->repaint(); // a long passage takes a moment
    const std::string page = BuildPassagePage(verseSpec_, *bible_, prefs_->ParagraphMode, title_, dayLine_);
    HTMLViewer1->LoadFromBytes(page);
}

} // namespace kovara::ui
