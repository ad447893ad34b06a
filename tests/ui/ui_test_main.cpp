// UI tests run on Qt's offscreen platform with a real QApplication.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kovara"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
