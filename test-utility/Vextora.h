// Vextora's globals, its forms and its link, as start-up makes them.
#pragma once

#include <string>

#include "LinkState.h"
#include "TLogoDlg.h"
#include "TStatusDlg.h"

namespace vextora {

class TForm1;
class TCommandFrm;
class TPwdDialog;
class TOperatorDlg;
class TMemForm;
class TFillFM;

// Set by Cancel; the long article loops stop on it between commands.
extern bool StopFlag;
// The operator and password that open every receipt.
extern int OperatorNumber;
extern std::string OperatorPassword;
// What the last password or operator dialog was given, and whether it was
// closed with OK.
extern std::string EnteredPassword;
extern bool PasswordConfirmed;

// The default operator password.
inline constexpr const char* DefaultPassword = "4826";

// Before any window: the empty port list and the default passwords.
void InitTestGlobals();

// The one instance of each form, made by CreateForms.
extern TForm1* Form1;
extern TCommandFrm* CommandFrm;
extern qmr::ui::TStatusDlg* StatusDlg;
extern TPwdDialog* PwdDialog;
extern TOperatorDlg* OperatorDlg;
extern TMemForm* MemForm;
extern qmr::ui::TLogoDlg* LogoDlg;
extern TFillFM* FillFM;

// Creates every form, hidden, in start-up order. The main window comes first
// and owns the others; the pointers above are cleared when it goes.
TForm1* CreateForms();

// Installs the link on the line and clock, with the windows of Form1.
void InstallProgramLink(qmr::SerialLine& line, qmr::Clock& clock);

}  // namespace vextora
