#include "Prendix.h"

#include "LinkHooks.h"

namespace prendix {

TInitFP* InitFP = nullptr;
qmr::ui::TStatusDlg* StatusDlg = nullptr;
qmr::ui::TLogoDlg* LogoDlg = nullptr;

namespace {

void ForgetForms() {
    InitFP = nullptr;
    StatusDlg = nullptr;
    LogoDlg = nullptr;
}

}  // namespace

TInitFP* CreateForms() {
    InitFP = new TInitFP;
    QObject::connect(InitFP, &QObject::destroyed, ForgetForms);
    StatusDlg = new qmr::ui::TStatusDlg(qmr::LinkVariant::InitUtility, InitFP);
    LogoDlg = new qmr::ui::TLogoDlg(InitFP->OpenPictDlg, InitFP);
    return InitFP;
}

void InstallProgramLink(qmr::SerialLine& line, qmr::Clock& clock) {
    qmr::ui::InstallWindowLink({InitFP, InitFP->PortNum, InitFP->BaudsBox, InitFP->ConnectBt, StatusDlg}, line, clock,
                               qmr::LinkVariant::InitUtility);
}

}  // namespace prendix
