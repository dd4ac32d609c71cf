#include "Prendix.h"

#include "LinkHooks.h"
#include "TRepPwdDlg.h"

namespace prendix {

TInitFP* InitFP = nullptr;
qmr::ui::TStatusDlg* StatusDlg = nullptr;
TRepPwdDlg* RepPwdDlg = nullptr;
qmr::ui::TLogoDlg* LogoDlg = nullptr;

namespace {

void ForgetForms() {
    InitFP = nullptr;
    StatusDlg = nullptr;
    RepPwdDlg = nullptr;
    LogoDlg = nullptr;
}

}  // namespace

TInitFP* CreateForms() {
    InitFP = new TInitFP;
    QObject::connect(InitFP, &QObject::destroyed, ForgetForms);
    StatusDlg = new qmr::ui::TStatusDlg(qmr::LinkVariant::InitUtility, InitFP);
    // One line per form, in start-up order; a form still to come keeps its place.

    // 3 HeaderDlg

    // 4 ReportDlg

    // 5 OperatorsDlg

    // 6 SetTimeDlg

    // 7 OperNameDlg

    // 8 OperPwdDlg

    LogoDlg = new qmr::ui::TLogoDlg(InitFP->OpenPictDlg, InitFP);

    // 10 ByNumDlg

    // 11 ByDateDlg

    // 12 TestFrm

    RepPwdDlg = new TRepPwdDlg(InitFP);

    // 14 ArtForm

    // 15 FiscaliseDlg

    return InitFP;
}

void InstallProgramLink(qmr::SerialLine& line, qmr::Clock& clock) {
    qmr::ui::InstallWindowLink({InitFP, InitFP->PortNum, InitFP->BaudsBox, InitFP->ConnectBt, StatusDlg}, line, clock,
                               qmr::LinkVariant::InitUtility);
}

}  // namespace prendix
