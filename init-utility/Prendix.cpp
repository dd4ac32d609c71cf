#include "Prendix.h"

#include "LinkHooks.h"
#include "TRepPwdDlg.h"

namespace prendix {

TInitFP* InitFP = nullptr;
qmr::ui::TStatusDlg* StatusDlg = nullptr;
TRepPwdDlg* RepPwdDlg = nullptr;
TReportDlg* ReportDlg = nullptr;
TByNumDlg* ByNumDlg = nullptr;
TByDateDlg* ByDateDlg = nullptr;
TArtForm* ArtForm = nullptr;

namespace {

void ForgetForms() {
    InitFP = nullptr;
    StatusDlg = nullptr;
    RepPwdDlg = nullptr;
    ReportDlg = nullptr;
    ByNumDlg = nullptr;
    ByDateDlg = nullptr;
    ArtForm = nullptr;
}

}  // namespace

TInitFP* CreateForms() {
    InitFP = new TInitFP;
    QObject::connect(InitFP, &QObject::destroyed, ForgetForms);
    StatusDlg = new qmr::ui::TStatusDlg(qmr::LinkVariant::InitUtility, InitFP);
    // One line per form, in start-up order; a form still to come keeps its place.

    // 3 HeaderDlg

    ReportDlg = new TReportDlg(InitFP);

    // 5 OperatorsDlg

    // 6 SetTimeDlg

    // 7 OperNameDlg

    // 8 OperPwdDlg

    // 9 LogoDlg

    ByNumDlg = new TByNumDlg(InitFP);

    ByDateDlg = new TByDateDlg(InitFP);

    // 12 TestFrm

    RepPwdDlg = new TRepPwdDlg(InitFP);

    ArtForm = new TArtForm(InitFP);

    // 15 FiscaliseDlg

    return InitFP;
}

void InstallProgramLink(qmr::SerialLine& line, qmr::Clock& clock) {
    qmr::ui::InstallWindowLink({InitFP, InitFP->PortNum, InitFP->BaudsBox, InitFP->ConnectBt, StatusDlg}, line, clock,
                               qmr::LinkVariant::InitUtility);
}

}  // namespace prendix
