// Prendix, the initialisation and fiscalisation utility of the QMR-770.
#include "Application.h"
#include "Prendix.h"
#include "LinkHooks.h"
#include "TermiosLine.h"

int main(int argc, char** argv) {
    qmr::TermiosLine line;
    return qmr::ui::RunProgram(argc, argv, "Prendix", [&line] {
        // Read while the forms are built; the window takes the list when it shows.
        // (Begun before the application object, it slows the making of that.)
        qmr::ui::StartPortEnumeration();
        prendix::TInitFP* mainWindow = prendix::CreateForms();
        prendix::InstallProgramLink(line, qmr::SystemClock());
        return mainWindow;
    });
}
