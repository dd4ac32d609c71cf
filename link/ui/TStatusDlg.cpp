#include "TStatusDlg.h"

#include <QString>

#include "Executor.h"

namespace qmr::ui {

namespace {

using BoxMember = QCheckBox* TStatusDlg::*;

struct BoxDef {
    int byte;
    int bit;
    BoxMember member;
    const char* name;
    const char* caption;      // the initialisation utility's
    const char* testCaption;  // the test utility's, where it differs
    bool red;                 // red text in the initialisation utility
    bool initOnly;
};

// In the order the refresh writes them.
const BoxDef StatusBoxDefs[] = {
    {0, 0, &TStatusDlg::Status00, "Status00", "Syntax error", nullptr, false, false},
    {0, 1, &TStatusDlg::Status01, "Status01", "Invalid command", nullptr, false, false},
    {0, 2, &TStatusDlg::Status02, "Status02", "Date and time not set", nullptr, false, false},
    {0, 3, &TStatusDlg::Status03, "Status03", "Display is disconnected", nullptr, false, false},
    {0, 5, &TStatusDlg::Status05, "Status05", "Common error", nullptr, true, false},
    {1, 0, &TStatusDlg::Status10, "Status10", "Arithmetic overflow", nullptr, false, false},
    {1, 1, &TStatusDlg::Status11, "Status11", "Command not permited", nullptr, false, false},
    {1, 4, &TStatusDlg::Status14, "Status14", "RAM reset", nullptr, false, false},
    {1, 5, &TStatusDlg::Status15, "Status15", "Cover open", "Cover is open", false, false},
    {2, 0, &TStatusDlg::Status20, "Status20", "Out of paper", nullptr, false, false},
    {2, 1, &TStatusDlg::Status21, "Status21", "Paper near end", nullptr, false, false},
    {2, 2, &TStatusDlg::Status22, "Status22", "Out of paper (Journal)", nullptr, false, false},
    {2, 3, &TStatusDlg::Status23, "Status23", "Fiscal receipt open", "Fiscal  receipt open", false, false},
    {2, 4, &TStatusDlg::Status24, "Status24", "Paper near end (Journal)", nullptr, false, false},
    {2, 5, &TStatusDlg::Status25, "Status25", "Non-fiscal receipt open", "Non fiscal receipt open", false, false},
    {4, 0, &TStatusDlg::Status40, "Status40", "Fiscal memory write error", "Error writing to fiscal memory", false,
     false},
    {4, 2, &TStatusDlg::Status42, "Status42", "Serial number set", nullptr, false, true},
    {4, 3, &TStatusDlg::Status43, "Status43", "Less than 50 free records in FM", "Less than 50 records in FM", false,
     false},
    {4, 4, &TStatusDlg::Status44, "Status44", "Fiscal memory full", "Fiscal memory is full", false, false},
    {4, 5, &TStatusDlg::Status45, "Status45", "Common fiscal error", nullptr, true, false},
    {5, 0, &TStatusDlg::Status50, "Status50", "Fisc. memory is Read Only", "Fiscal memory is Read Only", false, false},
    {5, 1, &TStatusDlg::Status51, "Status51", "Fiscal memory formatted", "Fiscal memory is formatted", false, false},
    {5, 3, &TStatusDlg::Status53, "Status53", "Printer is fiscalized", "Printer is fiscalised", false, false},
    {5, 4, &TStatusDlg::Status54, "Status54", "Tax rates set", nullptr, false, false},
    {5, 5, &TStatusDlg::Status55, "Status55", "Fiscal number set", "Serial number set", false, false},
};

// The two columns, top to bottom; a null entry is the gap between groups.
const BoxMember LeftColumn[] = {
    &TStatusDlg::Status05, &TStatusDlg::Status02, &TStatusDlg::Status01, &TStatusDlg::Status00,
    &TStatusDlg::Status14, &TStatusDlg::Status11, &TStatusDlg::Status10, &TStatusDlg::Status20,
    &TStatusDlg::Status22, nullptr,               &TStatusDlg::Status45, &TStatusDlg::Status44,
    &TStatusDlg::Status40, &TStatusDlg::Status50,
};
const BoxMember RightColumn[] = {
    &TStatusDlg::Status25, &TStatusDlg::Status23, &TStatusDlg::Status21, &TStatusDlg::Status24,
    &TStatusDlg::Status03, &TStatusDlg::Status15, nullptr,               &TStatusDlg::Status51,
    &TStatusDlg::Status42, &TStatusDlg::Status55, &TStatusDlg::Status54, &TStatusDlg::Status53,
    &TStatusDlg::Status43,
};

constexpr int ClientWidth = 470;
constexpr int ClientHeight = 362;
constexpr int Margin = 12;
constexpr int ColumnWidth = 215;
constexpr int RightX = Margin + ColumnWidth + 16;
constexpr int Pitch = 22;
constexpr int BoxHeight = 20;
constexpr int GroupGap = 14;
constexpr int ButtonY = ClientHeight - Margin - 26;

template <std::size_t N>
void PlaceColumn(TStatusDlg& dlg, const BoxMember (&column)[N], int x) {
    int y = Margin;
    for (const BoxMember member : column) {
        if (!member) {
            y += GroupGap;
            continue;
        }
        QCheckBox* box = dlg.*member;
        if (!box) continue;
        box->setGeometry(x, y, ColumnWidth, BoxHeight);
        y += Pitch;
    }
}

QCheckBox* MakeBox(TStatusDlg& dlg, const char* name, const char* caption, bool red) {
    auto* box = Make<QCheckBox>(&dlg, name, 0, 0, ColumnWidth, BoxHeight, QString::fromLatin1(caption));
    if (red) SetTextColour(*box, colour::Red);
    return box;
}

}  // namespace

TStatusDlg::TStatusDlg(LinkVariant variant, QWidget* parent)
    : Form(parent, "StatusDlg",
           variant == LinkVariant::InitUtility ? QStringLiteral("QMR-770 status bits")
                                               : QStringLiteral("Fiscal printer Status bits"),
           ClientWidth, ClientHeight),
      variant_(variant) {
    const bool init = variant == LinkVariant::InitUtility;
    for (const BoxDef& def : StatusBoxDefs) {
        if (def.initOnly && !init) {
            this->*def.member = nullptr;
            continue;
        }
        const char* caption = !init && def.testCaption ? def.testCaption : def.caption;
        QCheckBox* box = MakeBox(*this, def.name, caption, init && def.red);
        this->*def.member = box;
        boxes_.push_back({def.byte, def.bit, box});
        connect(box, &QCheckBox::clicked, this, &TStatusDlg::FormShow);
    }
    PlaceColumn(*this, LeftColumn, Margin);
    PlaceColumn(*this, RightColumn, RightX);

    // The link boxes have no handler: a click toggles them until the next refresh.
    Status_Timeout = MakeBox(*this, "Status_Timeout", init ? "No response" : "No printer response", init);
    Status_Protocol = MakeBox(*this, "Status_Protocol", "Protocol error", init);
    Status_Timeout->move(RightX, ButtonY - Pitch + 3);
    Status_Protocol->move(RightX, ButtonY + 3);

    OkBt = Make<QPushButton>(this, "OkBt", Margin, ButtonY, 90, 26, QStringLiteral("Close"));
    connect(OkBt, &QPushButton::clicked, this, &TStatusDlg::OkBtClick);
    if (init) {
        SetDefaultButton(OkBt);
        SetCancelButton(OkBt);
    }
    connect(this, &Form::Shown, this, &TStatusDlg::FormShow);
}

void TStatusDlg::FormShow() {
    const LinkState& s = Link();
    if (variant_ == LinkVariant::InitUtility)
        setWindowTitle(QStringLiteral("QMR-770 Status Bits (Command %1)").arg(unsigned{s.LastCommand}));
    for (const StatusBox& b : boxes_) b.box->setChecked((s.StatusBytes[static_cast<std::size_t>(b.byte)] >> b.bit) & 1u);
    Status_Timeout->setChecked((s.StatusWord & swNoResponse) != 0);
    Status_Protocol->setChecked((s.StatusWord & swProtocolError) != 0);
}

void TStatusDlg::OkBtClick() { close(); }

}  // namespace qmr::ui
