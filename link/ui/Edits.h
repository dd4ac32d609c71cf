// Edits as the programs' forms expect them: a length limit that holds for
// what the user types and leaves alone what the program puts in (Qt's
// maxLength cuts both), password edits that mask with '*' whatever the
// style would show, and multi-line edits that give back every character
// they were given.
#pragma once

#include <QPlainTextEdit>

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

// The edit's text with every character as it was put in, its lines
// separated by '\n'. QPlainTextEdit::toPlainText turns a no-break space
// into a blank, and the texts are 8-bit bytes in which 0xA0 is a letter
// like any other.
QString PlainTextOf(const QPlainTextEdit& edit);

// A multi-line edit whose copy and cut keep the text as PlainTextOf does:
// Qt's own copy loses the no-break space too.
class PlainTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit PlainTextEdit(QWidget* parent = nullptr);

protected:
    QMimeData* createMimeDataFromSelection() const override;
};

}  // namespace qmr::ui
