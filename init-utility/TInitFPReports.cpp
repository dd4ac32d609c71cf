// The reports menu, opened from the main window.
#include "Prendix.h"
#include "TInitFP.h"

namespace prendix {

void TInitFP::ClosureBtClick() { qmr::ui::ShowPlaced(*this, *ReportDlg); }

}  // namespace prendix
