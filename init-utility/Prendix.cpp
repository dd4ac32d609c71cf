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
TOperatorsDlg* OperatorsDlg = nullptr;
TSetTimeDlg* SetTimeDlg = nullptr;
TOperNameDlg* OperNameDlg = nullptr;
TOperPwdDlg* OperPwdDlg = nullptr;
TTestFrm* TestFrm = nullptr;
THeaderDlg* HeaderDlg = nullptr;
TFiscaliseDlg* FiscaliseDlg = nullptr;
qmr::ui::TLogoDlg* LogoDlg = nullptr;

namespace {

void ForgetForms() {
    InitFP = nullptr;
    StatusDlg = nullptr;
    RepPwdDlg = nullptr;
    ReportDlg = nullptr;
    ByNumDlg = nullptr;
    ByDateDlg = nullptr;
    ArtForm = nullptr;
    OperatorsDlg = nullptr;
    SetTimeDlg = nullptr;
    OperNameDlg = nullptr;
    OperPwdDlg = nullptr;
    TestFrm = nullptr;
    HeaderDlg = nullptr;
    FiscaliseDlg = nullptr;
    LogoDlg = nullptr;
}

}  // namespace

TInitFP* CreateForms() {
    InitFP = new TInitFP;
    QObject::connect(InitFP, &QObject::destroyed, ForgetForms);
    StatusDlg = new qmr::ui::TStatusDlg(qmr::LinkVariant::InitUtility, InitFP);
    HeaderDlg = new THeaderDlg(InitFP);
    ReportDlg = new TReportDlg(InitFP);
    OperatorsDlg = new TOperatorsDlg(InitFP);
    SetTimeDlg = new TSetTimeDlg(InitFP);
    OperNameDlg = new TOperNameDlg(InitFP);
    OperPwdDlg = new TOperPwdDlg(InitFP);
    LogoDlg = new qmr::ui::TLogoDlg(InitFP->OpenPictDlg, InitFP);
    ByNumDlg = new TByNumDlg(InitFP);
    ByDateDlg = new TByDateDlg(InitFP);
    TestFrm = new TTestFrm(InitFP);
    RepPwdDlg = new TRepPwdDlg(InitFP);
    ArtForm = new TArtForm(InitFP);
    FiscaliseDlg = new TFiscaliseDlg(InitFP);
    return InitFP;
}

void InstallProgramLink(qmr::SerialLine& line, qmr::Clock& clock) {
    qmr::ui::InstallWindowLink({InitFP, InitFP->PortNum, InitFP->BaudsBox, InitFP->ConnectBt, StatusDlg}, line, clock);
}

}  // namespace prendix
