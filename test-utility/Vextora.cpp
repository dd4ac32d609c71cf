#include "Vextora.h"

#include "LinkHooks.h"
#include "TCommandFrm.h"
#include "TFillFM.h"
#include "TForm1.h"
#include "TMemForm.h"
#include "TOperatorDlg.h"
#include "TPwdDialog.h"

namespace vextora {

bool StopFlag = false;
int OperatorNumber = 1;
std::string OperatorPassword;
std::string EnteredPassword;
bool PasswordConfirmed = false;

TForm1* Form1 = nullptr;
TCommandFrm* CommandFrm = nullptr;
qmr::ui::TStatusDlg* StatusDlg = nullptr;
TPwdDialog* PwdDialog = nullptr;
TOperatorDlg* OperatorDlg = nullptr;
TMemForm* MemForm = nullptr;
qmr::ui::TLogoDlg* LogoDlg = nullptr;
TFillFM* FillFM = nullptr;

namespace {

void ForgetForms() {
    Form1 = nullptr;
    CommandFrm = nullptr;
    StatusDlg = nullptr;
    PwdDialog = nullptr;
    OperatorDlg = nullptr;
    MemForm = nullptr;
    LogoDlg = nullptr;
    FillFM = nullptr;
}

}  // namespace

void InitTestGlobals() {
    qmr::Link().PortList.clear();
    StopFlag = false;
    OperatorNumber = 1;
    EnteredPassword = DefaultPassword;
    OperatorPassword = DefaultPassword;
    PasswordConfirmed = false;
}

TForm1* CreateForms() {
    Form1 = new TForm1;
    QObject::connect(Form1, &QObject::destroyed, ForgetForms);
    CommandFrm = new TCommandFrm(Form1);
    StatusDlg = new qmr::ui::TStatusDlg(qmr::LinkVariant::TestUtility, Form1);
    PwdDialog = new TPwdDialog(Form1);
    OperatorDlg = new TOperatorDlg(Form1);
    MemForm = new TMemForm(Form1);
    LogoDlg = new qmr::ui::TLogoDlg(Form1->OpenPictDlg, Form1);
    FillFM = new TFillFM(Form1);
    return Form1;
}

void InstallProgramLink(qmr::SerialLine& line, qmr::Clock& clock) {
    // The dialogs are placed over the client area, below the menu bar.
    qmr::ui::InstallWindowLink({Form1->Client, Form1->PortNum, Form1->BaudsList, Form1->ConnectBt, StatusDlg}, line,
                               clock);
}

}  // namespace vextora
