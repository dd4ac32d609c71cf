// Program start-up and the exception guard.
//
// How a program's main() uses it:
//
//     int main(int argc, char** argv) {
//         return qmr::ui::RunProgram(argc, argv, "Prendix", [] { return CreateForms(); });
//     }
//
// RunProgram makes the application object with the program's title, lets
// createForms build every form in start-up order (it returns the main
// window, which owns the others), shows the main window and runs the message
// loop. An exception that
// escapes an event handler is shown in a message box and the program goes on;
// one that escapes start-up or the loop is shown and ends the program, which
// returns 0 either way.
#pragma once

#include <QApplication>
#include <exception>
#include <functional>

namespace qmr::ui {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv, const QString& title);
    // Delivers events with the guard around every handler.
    bool notify(QObject* receiver, QEvent* event) override;
};

// The standard exception box: the exception's message, the program's title.
void ReportException(const std::exception& e);

int RunProgram(int argc, char** argv, const QString& title, const std::function<QWidget*()>& createForms);

}  // namespace qmr::ui
