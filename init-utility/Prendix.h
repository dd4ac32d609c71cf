// Prendix's forms and its link, as start-up makes them.
#pragma once

#include "LinkState.h"
#include "TLogoDlg.h"
#include "TStatusDlg.h"
#include "TInitFP.h"
#include "TRepPwdDlg.h"
#include "TReportDlg.h"
#include "TByNumDlg.h"
#include "TByDateDlg.h"
#include "TArtForm.h"
#include "TOperatorsDlg.h"
#include "TOperNameDlg.h"
#include "TOperPwdDlg.h"
#include "TSetTimeDlg.h"
#include "TTestFrm.h"
#include "THeaderDlg.h"
#include "TFiscaliseDlg.h"

namespace prendix {

// The one instance of each form, made by CreateForms.
extern TInitFP* InitFP;
extern qmr::ui::TStatusDlg* StatusDlg;
extern TRepPwdDlg* RepPwdDlg;
extern TReportDlg* ReportDlg;
extern TByNumDlg* ByNumDlg;
extern TByDateDlg* ByDateDlg;
extern TArtForm* ArtForm;
extern TOperatorsDlg* OperatorsDlg;
extern TSetTimeDlg* SetTimeDlg;
extern TOperNameDlg* OperNameDlg;
extern TOperPwdDlg* OperPwdDlg;
extern TTestFrm* TestFrm;
extern THeaderDlg* HeaderDlg;
extern TFiscaliseDlg* FiscaliseDlg;
extern qmr::ui::TLogoDlg* LogoDlg;

// Creates every form, hidden, in start-up order. The main window comes first
// and owns the others; the pointers above are cleared when it goes.
TInitFP* CreateForms();

// Installs the link on the line and clock, with the windows of InitFP.
void InstallProgramLink(qmr::SerialLine& line, qmr::Clock& clock);

}  // namespace prendix
