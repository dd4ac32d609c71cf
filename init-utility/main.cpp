// Prendix, the initialisation and fiscalisation utility of the QMR-770.
#include "Application.h"
#include "Prendix.h"
#include "Settings.h"
#include "TermiosLine.h"

int main(int argc, char** argv) {
    // Read while the forms are built; the window takes the list when it shows.
    qmr::StartPortEnumeration();
    qmr::TermiosLine line;
    return qmr::ui::RunProgram(argc, argv, "Prendix", [&line] {
        prendix::TInitFP* mainWindow = prendix::CreateForms();
        prendix::InstallProgramLink(line, qmr::SystemClock());
        return mainWindow;
    });
}
