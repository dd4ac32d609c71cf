// The till: selling the selected article into a fiscal or storno receipt,
// paying and closing it, and the receipt's amounts.
#include "Commands.h"
#include "Cp1251.h"
#include "Executor.h"
#include "Numbers.h"
#include "SaleTexts.h"
#include "TForm1.h"
#include "Vextora.h"

namespace vextora {

namespace {

bool ReceiptOpen() { return qmr::StatusHas(qmr::swFiscalReceiptOpen); }

void SetText(QLabel& label, const std::string& text) { label.setText(QString::fromStdString(text)); }

void RefuseEntry(const char* text) { qmr::ui::MessageBox(QString::fromLatin1(text), QStringLiteral("Error"), qmr::MbOk); }

}  // namespace

int TForm1::SelectedPlu() const {
    return qmr::ReadLeadingInt(ArtTable->Model().Table().Row(ArtTable->SelectedRow())[ColPlu]);
}

double TForm1::SelectedPrice() const {
    return qmr::ToSingle(qmr::ReadLeadingNumber(ArtTable->Model().Table().Row(ArtTable->SelectedRow())[ColPrice]));
}

double TForm1::EnteredQuantity() const {
    return qmr::ToSingle(qmr::ReadLeadingNumber(qmr::ToCp1251(QuantityFld->text())));
}

void TForm1::SelBtClick() {
    const int plu = SelectedPlu();
    if (plu < 1) return;
    const auto sale = SaleData(plu, EnteredQuantity());
    if (!sale) return RefuseEntry("Quantity out of range");

    if (qmr::ExecRefused(qmr::ReadStatus)) return;
    if (qmr::ExecRefused(qmr::ReadStatus)) return;
    if (!ReceiptOpen()) {
        const std::string opening = OpenReceiptData(OperatorNumber, OperatorPassword);
        if (qmr::ExecRefused(StornoType->isChecked() ? qmr::OpenStornoReceipt : qmr::OpenFiscalReceipt, opening)) return;
        StornoType->setChecked(false);
    }
    RestoFld->setText(QStringLiteral("0.00"));
    if (qmr::ExecRefused(qmr::SellArticleWithDisplay, *sale)) return;
    if (qmr::ExecRefused(qmr::ReadReceiptTotals)) return;
    if (const auto total = SaleTotalText(qmr::Link().ReplyText())) SetText(*TotalFld, *total);
}

void TForm1::PayBtClick() {
    const auto payment = PaymentData(PayMode->currentIndex(), ReadTenderedAmount(qmr::ToCp1251(SumFld->text())));
    if (!payment) return RefuseEntry("Amount out of range");

    if (qmr::ExecRefused(qmr::ReadStatus)) return;
    if (qmr::ExecRefused(qmr::ReadStatus)) return;
    if (!ReceiptOpen()) return;

    // The reply says how the payment went; a refusal needs no dialog of its own.
    qmr::LinkState& link = qmr::Link();
    qmr::ExecCommandQuietly(qmr::RegisterPayment, *payment);
    // A reply that did not come through whole says nothing about the payment.
    if (qmr::LinkFailed()) return;
    const auto change = PaymentChangeText(ParsePaymentReply(link.ReplyText()));
    if (!change) return;  // still due: the receipt stays open for another payment
    SetText(*RestoFld, *change);

    if (qmr::ExecRefused(qmr::CloseFiscalReceipt)) return;
    StornoType->setChecked(false);
    TotalFld->setText(QStringLiteral("0.00"));
}

void TForm1::ShowLineAmount() {
    const int plu = SelectedPlu();
    const double price = SelectedPrice();
    if (plu < 1) return;
    // A product too large for the field is no amount to show.
    PriceFld->setText(QString::fromStdString(LineAmountText(EnteredQuantity(), price).value_or("")));
}

void TForm1::QuantityFldChange() { ShowLineAmount(); }

void TForm1::ArtTableMouseDown() { ShowLineAmount(); }

void TForm1::ArtTableDblClick() {
    const QString kept = QuantityFld->text();
    QuantityFld->setText(QStringLiteral("1"));
    SelBtClick();
    QuantityFld->setText(kept);
}

void TForm1::SumFldDblClick() {
    if (qmr::ExecRefused(qmr::ReadStatus)) return;
    if (qmr::ExecRefused(qmr::ReadReceiptTotals, "T")) return;
    if (!ReceiptOpen()) return;
    const auto totals = ParseReceiptTotals(qmr::Link().ReplyText());
    if (!totals) return;
    if (const auto due = AmountDueText(*totals)) SumFld->setText(QString::fromStdString(*due));
}

void TForm1::RefreshBtClick() {
    if (qmr::ExecRefused(qmr::ReadStatus)) return;
    if (qmr::ExecRefused(qmr::ReadStatus)) return;
    if (!ReceiptOpen()) return;
    if (qmr::ExecRefused(qmr::ReadReceiptTotals, "T")) return;
    const auto totals = ParseReceiptTotalsInt(qmr::Link().ReplyText());
    if (!totals) return;
    const RefreshTexts texts = RefreshTextsOf(*totals);
    SetText(*TotalFld, texts.total);
    SetText(*RestoFld, texts.resto);
}

void TForm1::CancelBtClick() { StopFlag = true; }

}  // namespace vextora
