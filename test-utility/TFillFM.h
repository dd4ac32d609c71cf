// Fills the fiscal memory: a series of resets, each followed by setting the
// printer's clock, or of closures, each a few random fiscal receipts and a
// storno receipt followed by a daily report. The caption says which: the
// menu handlers set it before showing the dialog.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

#include "Forms.h"

namespace vextora {

// Set by Cancel (or by closing the dialog); the series stops on it between cycles.
extern bool FillStopFlag;

inline constexpr const char* ResetsCaption = "Make Resets";
inline constexpr const char* ClosuresCaption = "Make Closures";

class TFillFM : public qmr::ui::Form {
    Q_OBJECT
public:
    explicit TFillFM(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* CntBox;
    QPushButton* GoBt;
    QPushButton* CancelBt;
    QLabel* DoneLb;
    QCheckBox* DispBox;

    // Closing the dialog while a series runs stops the series as Cancel
    // does: nothing else could stop it once the dialog is gone.
    void reject() override;

public slots:
    void FormShow();
    void GoBtClick();
    void CancelBtClick();

private:
    bool ResetsMode() const;
    // Fills PluList from the printer's article table; the count, or nothing
    // when the printer failed or listed no article.
    std::optional<int> GatherPlus();
    bool ResetsCycle();
    // One receipt of a closures cycle; false when a command of it failed.
    bool ClosureReceipt(bool storno, int pluCount);
    bool ClosuresCycle(int pluCount);
};

}  // namespace vextora
