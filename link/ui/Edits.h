// Edits as the programs' forms expect them: a length limit that holds for
// what the user types and leaves alone what the program puts in (Qt's
// maxLength cuts both), and password edits that mask with '*' whatever the
// style would show.
#pragma once

class QLineEdit;

namespace qmr::ui {

// The user cannot type or paste the edit's text beyond maxLength
// characters; setText still puts in a longer text whole, and the user may
// shorten it.
void LimitTyping(QLineEdit& edit, int maxLength);
// The limit set above; 0 for an edit without one.
int MaxLengthOf(const QLineEdit& edit);

// Masks the edit's text with '*'.
void MakePasswordEdit(QLineEdit& edit);

}  // namespace qmr::ui
