// Vextora, the test, sales and service utility of the QMR-770.
#include "Application.h"
#include "Settings.h"
#include "TForm1.h"
#include "TermiosLine.h"
#include "Vextora.h"

int main(int argc, char** argv) {
    // Read while the forms are built; the window takes the list when it shows.
    qmr::StartPortEnumeration();
    vextora::InitTestGlobals();
    qmr::TermiosLine line;
    return qmr::ui::RunProgram(argc, argv, "Vextora", [&line] {
        vextora::TForm1* mainWindow = vextora::CreateForms();
        vextora::InstallProgramLink(line, qmr::SystemClock());
        return mainWindow;
    });
}
