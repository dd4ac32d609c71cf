// Prendix, the initialisation and fiscalisation utility of the QMR-770.
#include "Application.h"
#include "Prendix.h"
#include "TermiosLine.h"

int main(int argc, char** argv) {
    qmr::TermiosLine line;
    return qmr::ui::RunProgram(argc, argv, "Prendix", [&line] {
        prendix::TInitFP* mainWindow = prendix::CreateForms();
        prendix::InstallProgramLink(line, qmr::SystemClock());
        return mainWindow;
    });
}
