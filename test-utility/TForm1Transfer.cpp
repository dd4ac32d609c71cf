// The printer's article table: read into the grid, programmed from it, and
// an article deleted with the Delete key.
#include "ArticleTransfer.h"
#include "Commands.h"
#include "Executor.h"
#include "Numbers.h"
#include "TForm1.h"
#include "TPwdDialog.h"
#include "Vextora.h"

namespace vextora {

namespace {

bool PasswordGiven() {
    qmr::ui::ShowModal(*PwdDialog);
    return PasswordConfirmed;
}

}  // namespace

// Only a failed line stops these flows: a printer that refuses says so in
// its reply or its bits, and the flow looks at those itself.
void TForm1::ReadfromPrinter1Click() {
    const LongFlow flow;
    if (!flow) return;
    ArticleGridModel& grid = ArtTable->Model();
    grid.SetTable(ArticleTable{});
    int count = 0;
    qmr::ExecCommand(qmr::ReadStatus, {});
    if (qmr::LinkFailed()) return;
    qmr::ExecCommand(qmr::ProgramArticles, "F");
    if (qmr::LinkFailed()) return;

    StopFlag = false;
    CancelBt->setEnabled(true);
    while (IsArticleRecord(qmr::Link().ReplyText())) {
        grid.Append(count, ParseArticleRecord(qmr::Link().ReplyText()));
        ArtCnt->setText(QString::number(count));
        qmr::ExecCommand(qmr::ProgramArticles, "N");
        if (qmr::LinkFailed()) {
            ArtCnt->clear();
            break;
        }
        // The article that came with this reply is left out.
        if (StopFlag) break;
    }
    CancelBt->setEnabled(false);
}

void TForm1::StoreMClick() {
    const LongFlow flow;
    if (!flow) return;
    if (!PasswordGiven()) return;
    qmr::ExecCommand(qmr::ReadStatus, {});
    StopFlag = false;
    CancelBt->setEnabled(true);
    if (!qmr::LinkFailed()) {
        // Read again before each row: nothing stops the grid changing meanwhile.
        for (int r = 1; r < ArtTable->Model().Table().RowCount(); ++r) {
            const auto data = ProgramArticleData(ArtTable->Model().Table().Row(r), EnteredPassword);
            if (!data) continue;
            // A refused row is passed over without a dialog.
            qmr::ExecCommandQuietly(qmr::ProgramArticles, *data);
            if (qmr::LinkFailed()) break;
            ArtCnt->setText(QString::number(r));
            if (StopFlag) break;
        }
    }
    CancelBt->setEnabled(false);
}

void TForm1::ArtTableKeyDown(int key) {
    // Shift, Ctrl and Alt make no difference.
    if (key != Qt::Key_Delete) return;
    const int r = ArtTable->SelectedRow();
    const int plu = qmr::ReadLeadingInt(ArtTable->Model().Table().Row(r)[ColPlu]);
    if (plu <= 0) return;
    // The printer's bits are judged here: a refusal stops without a dialog.
    qmr::ExecCommandQuietly(qmr::ReadStatus, {});
    if (qmr::Refused()) return;
    if (!PasswordGiven()) return;
    qmr::ExecCommandQuietly(qmr::ProgramArticles, DeleteArticleData(plu, EnteredPassword));
    if (qmr::LinkFailed()) return;
    if (qmr::Link().ReplyText().rfind('P', 0) != 0) {
        qmr::ui::MessageBox(QStringLiteral("Can't delete article"), QStringLiteral("Error"), qmr::MbOk);
        return;
    }
    ArtTable->Model().RemoveRow(r);
    ArtTable->SelectRow(r - 1);
}

}  // namespace vextora
