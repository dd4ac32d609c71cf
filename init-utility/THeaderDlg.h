// The header and footer dialog: the eight lines in two memos, written to and
// read from the printer, saved to and loaded from a header file. It shows
// HeaderLines when it opens and puts the memos back into it when it closes.
//
// A memo line is a line of its text as the user typed it: the memos wrap
// long lines on the screen only.
#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

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
    QPlainTextEdit* HeaderData;
    QLabel* Label2;
    QPlainTextEdit* FooterData;
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
// Adds a line at the end of a memo.
void AddMemoLine(QPlainTextEdit& memo, const QString& line);

}  // namespace prendix
