// The yardstick for start-up time and memory: the least a Qt Widgets desktop
// program shows, a main window with a menu, a tool bar and a text browser
// holding a short page. Timed from outside exactly as kovara is.
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTextBrowser>
#include <QToolBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare Window"));
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    QAction* quit = file->addAction(QStringLiteral("E&xit"), &app, &QApplication::quit);
    window.addToolBar(QStringLiteral("Main"))->addAction(quit);
    auto* browser = new QTextBrowser;
    browser->setHtml(QStringLiteral("<h1>Welcome</h1><p>A bare window to time start-up against.</p>"));
    window.setCentralWidget(browser);
    window.resize(900, 640);
    window.show();
    return QApplication::exec();
}
