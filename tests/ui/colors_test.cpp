#include "ui/base/colors.h"
#include "test_preferences.h"
#include "ui/prayer/prayer_text.h"

#include <QApplication>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

// A dark palette as a desktop's dark theme hands it to Qt.
QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x2d, 0x2d, 0x2d));
    p.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    p.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    p.setColor(QPalette::Text, QColor(0xdd, 0xdd, 0xdd));
    return p;
}

// Restores the application palette whatever the test does.
class PaletteScope {
public:
    explicit PaletteScope(const QPalette& p) : saved_(QApplication::palette()) { QApplication::setPalette(p); }
    ~PaletteScope() { QApplication::setPalette(saved_); }

private:
    QPalette saved_;
};

TEST(ColorsTest, PageColoursFollowADarkPaletteOnlyWhereThePreferenceIsDefault)
{
    const QColor cream(0xFF, 0xFB, 0xF0);
    const struct {
        bool dark;
        ColorValue back, font;
        QColor expectedBack, expectedFont;
    } cases[] = {
        // light desktop: the defaults stay black on cream
        {false, kDefaultTextBackColor, kDefaultTextFontColor, cream, Qt::black},
        // dark desktop: the defaults take the palette's base and text
        {true, kDefaultTextBackColor, kDefaultTextFontColor, QColor(0x1e, 0x1e, 0x1e), QColor(0xdd, 0xdd, 0xdd)},
        // colours the user picked are kept on either
        {true, 0x800000 /* navy */, 0xFFFFFF, QColor(0, 0, 0x80), Qt::white},
        {false, 0x800000, 0xFFFFFF, QColor(0, 0, 0x80), Qt::white},
        // one picked, one default
        {true, 0xFFFFFF, kDefaultTextFontColor, Qt::white, QColor(0xdd, 0xdd, 0xdd)},
    };
    for (const auto& c : cases) {
        QPalette light;
        light.setColor(QPalette::Window, Qt::white);
        light.setColor(QPalette::WindowText, Qt::black);
        PaletteScope scope(c.dark ? darkPalette() : light);
        auto prefs = test::makeTestPreferences();
        prefs->textBackColor = c.back;
        prefs->textFontColor = c.font;
        EXPECT_EQ(pageBackColor(*prefs), c.expectedBack) << c.dark << ' ' << c.back;
        EXPECT_EQ(pageFontColor(*prefs), c.expectedFont) << c.dark << ' ' << c.font;
        // The prayer text (editor and preview) shows the same page.
        QTextEdit prayer;
        applyDisplayFont(prayer, *prefs);
        applyDisplayBackground(prayer, *prefs);
        EXPECT_EQ(prayer.palette().color(QPalette::Base), c.expectedBack) << c.dark << ' ' << c.back;
        EXPECT_EQ(prayer.palette().color(QPalette::Text), c.expectedFont) << c.dark << ' ' << c.font;
    }
}

} // namespace
} // namespace kovara::ui
