// The floor for start-up: an empty main window, shown the way the programs
// show theirs. With --text it shows one line of text, so it loads the fonts
// as every window with a caption must.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) window.setCentralWidget(new QLabel(QStringLiteral("Text")));
    window.show();
    return app.exec();
}
