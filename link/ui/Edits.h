// Edits as the programs' forms expect them: a length limit that holds for
// what the user types and leaves alone what the program puts in (Qt's
// maxLength cuts both), and password edits that mask with '*' whatever the
// style would show.
#pragma once

class QLineEdit;

namespace qmr::ui {

// The user cannot type or paste the edit's text beyond maxLength
// characters; setText still puts in a longer text whole.
void LimitTyping(QLineEdit& edit, int maxLength);

// Masks the edit's text with '*'.
void MakePasswordEdit(QLineEdit& edit);

}  // namespace qmr::ui
