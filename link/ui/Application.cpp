#include "Application.h"

#include <QWidget>
#include <memory>

#include "Seam.h"

namespace qmr::ui {

Application::Application(int& argc, char** argv, const QString& title) : QApplication(argc, argv) {
    // The name only: a display name would be appended to every window's caption.
    setApplicationName(title);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ReportException(e);
    }
    return false;
}

void ReportException(const std::exception& e) {
    MessageBox(QString::fromLocal8Bit(e.what()), QApplication::applicationName(), MbOk);
}

int RunProgram(int argc, char** argv, const QString& title, const std::function<QWidget*()>& createForms) {
    Application app(argc, argv, title);
    try {
        // The main window owns the other forms: they go when it goes.
        const std::unique_ptr<QWidget> mainWindow(createForms());
        mainWindow->show();
        app.exec();
    } catch (const std::exception& e) {
        ReportException(e);
    }
    return 0;
}

}  // namespace qmr::ui
