// The header and footer dialog: the eight lines in two memos, written to and
// read from the printer, saved to and loaded from a header file. It shows
// HeaderLines when it opens and puts the memos back into it when it closes.
//
// A memo line is a line of its text as the user typed it: the memos wrap
// long lines on the screen only. One of the eight lines is always one memo
// line, whatever bytes it holds.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QStringList>

#include "Edits.h"
#include "Forms.h"
#include "HeaderFile.h"

namespace prendix {

// The program's copy of the eight lines, empty at start; the printer data
// file fills it too.
extern HeaderSlots HeaderLines;

class THeaderDlg : public qmr::ui::Form {
    Q_OBJECT
public:
    explicit THeaderDlg(QWidget* parent = nullptr);

    QLabel* Label1;
    qmr::ui::PlainTextEdit* HeaderData;
    QLabel* Label2;
    qmr::ui::PlainTextEdit* FooterData;
    QPushButton* ReadBt;
    QPushButton* OkBt;
    QPushButton* SaveBt;
    QPushButton* GetFileBt;

public slots:
    void FormShow();
    void OkBtClick();
    void ReadBtClick();
    void SaveBtClick();
    void GetFileBtClick();
    void FormClose();

private:
    void ShowSlots(const HeaderSlots& lines);
};

// A memo's lines: its text split at line ends, a last line end adding none.
QStringList MemoLines(const QPlainTextEdit& memo);
// Adds a line at the end of a memo. A line break inside it (a printer data
// file keeps a CR within a value) is dropped, as the header file drops it:
// a memo line cannot hold one, and the line is not split in two.
void AddMemoLine(QPlainTextEdit& memo, const QString& line);

}  // namespace prendix
