// The reports menu: seven buttons, each a report the printer prints. Every
// choice asks for the status first, then for a password or the report's
// parameters; the menu stays open until its close box.
#pragma once

#include <QPushButton>

#include "Forms.h"

namespace prendix {

class TReportDlg : public qmr::ui::Form {
    Q_OBJECT
public:
    explicit TReportDlg(QWidget* parent = nullptr);

    QPushButton* TypeZ;
    QPushButton* TypeX;
    QPushButton* TypeT;
    QPushButton* TypeN;
    QPushButton* TypeD;
    QPushButton* TypeO;
    QPushButton* TypeA;

public slots:
    void TypeZClick();
    void TypeXClick();
    void TypeTClick();
    void TypeNClick();
    void TypeDClick();
    void TypeOClick();
    void TypeAClick();

private:
    // The daily report of the type ('0' Z, '2' X) after the status read;
    // the Z report goes no further on a fatal status.
    void DailyReport(char type, bool stopOnFatal);
    // The date dialog with the dates reset, in history or by-date mode.
    void ShowDateDialog(bool history);
};

}  // namespace prendix
