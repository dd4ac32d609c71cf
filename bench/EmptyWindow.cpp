// The floor for start-up: an empty main window, shown the way the programs
// show theirs.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.show();
    return app.exec();
}
