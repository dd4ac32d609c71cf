// Vextora, the test, sales and service utility of the QMR-770.
#include "Application.h"
#include "LinkHooks.h"
#include "TForm1.h"
#include "TermiosLine.h"
#include "Vextora.h"

int main(int argc, char** argv) {
    vextora::InitTestGlobals();
    qmr::TermiosLine line;
    return qmr::ui::RunProgram(argc, argv, "Vextora", [&line] {
        // Read while the forms are built; the window takes the list when it shows.
        // (Begun before the application object, it slows the making of that.)
        qmr::ui::StartPortEnumeration();
        vextora::TForm1* mainWindow = vextora::CreateForms();
        vextora::InstallProgramLink(line, qmr::SystemClock());
        return mainWindow;
    });
}
