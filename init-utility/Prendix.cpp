#include "Prendix.h"

#include <memory>

#include "LinkHooks.h"

namespace prendix {

TInitFP* InitFP = nullptr;
qmr::ui::TStatusDlg* StatusDlg = nullptr;

namespace {

std::unique_ptr<qmr::ui::QtLinkHooks> hooks;

// The link must not keep driving windows that are gone.
void ForgetForms() {
    if (hooks && qmr::Env().ui == hooks.get()) qmr::InstallLink({});
    hooks.reset();
    InitFP = nullptr;
    StatusDlg = nullptr;
}

}  // namespace

TInitFP* CreateForms() {
    InitFP = new TInitFP;
    QObject::connect(InitFP, &QObject::destroyed, ForgetForms);
    StatusDlg = new qmr::ui::TStatusDlg(qmr::LinkVariant::InitUtility, InitFP);
    return InitFP;
}

void InstallProgramLink(qmr::SerialLine& line, qmr::Clock& clock) {
    hooks = std::make_unique<qmr::ui::QtLinkHooks>(
        qmr::ui::MainWindowControls{InitFP, InitFP->PortNum, InitFP->BaudsBox, InitFP->ConnectBt, StatusDlg});
    qmr::InstallLink({&line, &clock, hooks.get(), qmr::LinkVariant::InitUtility});
}

}  // namespace prendix
