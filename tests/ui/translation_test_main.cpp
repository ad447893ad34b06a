// The translation tests run on Qt's offscreen platform with the pseudo
// translation of the build folder installed before any window is made.
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
    const QString pseudo = QStringLiteral(KOVARA_BUILD_DIR "/translations/kovara_pseudo.qm");
    if (!kovara::ui::installTranslationFile(pseudo)) {
        std::fprintf(stderr, "Cannot load the pseudo translation %s\n", qPrintable(pseudo));
        return 1;
    }
    return RUN_ALL_TESTS();
}
