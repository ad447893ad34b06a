// UI tests run on Qt's offscreen platform with a real QApplication and, as
// the program does, the English catalogue of the build folder installed: it
// holds the English plural forms ("1 day", "2 days").
#include "ui/app/translations.h"

#include <QApplication>
#include <cstdio>
#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kovara"));
    ::testing::InitGoogleTest(&argc, argv);
    const QString english = QStringLiteral(KOVARA_BUILD_DIR "/translations/kovara_en.qm");
    if (!kovara::ui::installTranslationFile(english)) {
        std::fprintf(stderr, "Cannot load the English catalogue %s\n", qPrintable(english));
        return 1;
    }
    return RUN_ALL_TESTS();
}
