// The memory dump window: reads the fiscal memory or the code memory block
// by block into DumpBuffer, lists it, and saves it as a raw binary file.
// The menu handler that opens it (TForm1Dump.cpp) makes the buffer before
// the showing and frees it after, so it lives until the read has ended.
#pragma once

#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "Edits.h"
#include "Forms.h"
#include "Seam.h"

namespace vextora {

// Which memory the next read reads (DumpKinds).
extern std::uint8_t DumpKind;
// The bytes read so far: the first DumpLength of them.
extern std::vector<std::uint8_t> DumpBuffer;
extern int DumpLength;
// Set by Cancel and by closing the window; the read stops before the next block.
extern bool DumpStopFlag;

class TMemForm : public qmr::ui::Form {
    Q_OBJECT
public:
    explicit TMemForm(QWidget* parent = nullptr);

    QWidget* Panel1;
    // A plain-text list: a line is appended in constant time, as a full
    // fiscal-memory listing has 20480 of them.
    qmr::ui::PlainTextEdit* FlashData;
    QPushButton* ReadBt;
    QPushButton* CancelBt;
    QPushButton* SaveBt;
    QProgressBar* PrgBar;
    qmr::ui::FileDialog SaveDlg;

public slots:
    void FormShow();
    void ReadBtClick();
    void CancelBtClick();
    void SaveBtClick();

private:
    void ShowPendingLines();

    // Listing lines read but not yet shown, and the beat that shows them.
    std::string pendingLines_;
    QTimer listingBeat_;
};

}  // namespace vextora
