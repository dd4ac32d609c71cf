// Password edits show each typed character as '*', whatever the style
// would draw (most draw a dot).
#pragma once

class QLineEdit;

namespace qmr::ui {

// Hides the edit's text behind one '*' per character.
void ShowAsPassword(QLineEdit& edit);

}  // namespace qmr::ui
