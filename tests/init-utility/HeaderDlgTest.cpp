// The header and footer dialog against the simulated printer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "../test-utility/DiskLimit.h"
#include "Commands.h"
#include "Placement.h"
#include "PrendixFixture.h"

namespace prendix {
namespace {

using qmrsim::Printer;
namespace st = qmrsim::st;

class HeaderDialog : public PrendixWindow {
protected:
    void SetUp() override {
        PrendixWindow::SetUp();
        Start("ready");
        sim.ClearRequests();
    }
    // Opens the dialog from its button and runs the action inside it.
    void Open(std::function<void()> action) {
        script.OnNextModal([action = std::move(action)](QDialog&) { action(); });
        InitFP->HeaderBt->click();
    }
    static std::vector<Sent> Writes(const std::vector<std::string>& data) {
        std::vector<Sent> sent;
        for (const auto& d : data) sent.emplace_back(qmr::ConfigureReceiptLayout, d);
        return sent;
    }
    QTemporaryDir dir;
};

TEST_F(HeaderDialog, OpensOverTheWindowWithSixHeaderAndTwoFooterLines) {
    Open([] {
        EXPECT_EQ(MemoLines(*HeaderDlg->HeaderData), QStringList(6, ""));
        EXPECT_EQ(MemoLines(*HeaderDlg->FooterData), QStringList(2, ""));
    });
    qmr::test::ExpectPlacedOver(*InitFP, script.modals[0].pos, *HeaderDlg);
    EXPECT_EQ(script.modals[0].caption, "Set Header and Footer");
    EXPECT_TRUE(Requests().empty());  // nothing is sent before the dialog shows
}

TEST_F(HeaderDialog, WriteWithEmptyMemosEmptiesEveryLineAndCloses) {
    WithPrinter([](Printer& p) { p.setup.lines[3] = "OLD"; });
    Open([] {
        HeaderDlg->HeaderData->clear();
        HeaderDlg->FooterData->clear();
        HeaderDlg->OkBt->click();
        EXPECT_FALSE(HeaderDlg->isVisible());
    });
    EXPECT_EQ(Requests(), Writes({"0", "1", "2", "3", "4", "5", "6", "7"}));
    WithPrinter([](Printer& p) { EXPECT_EQ(p.setup.lines[3], ""); });
}

TEST_F(HeaderDialog, WriteSendsTheFirstSixHeaderAndTwoFooterLinesAndKeepsThemForTheNextShowing) {
    Open([] {
        HeaderDlg->HeaderData->setPlainText("L1\nL2\n\nL4\nL5\nL6\nL7\nL8\nL9");
        HeaderDlg->FooterData->setPlainText(QString::fromUtf8("Дякуємо"));
        HeaderDlg->OkBt->click();
    });
    EXPECT_EQ(Requests(), Writes({"0L1", "1L2", "2", "3L4", "4L5", "5L6", "6\xC4\xFF\xEA\xF3\xBA\xEC\xEE", "7"}));
    EXPECT_EQ(HeaderLines[5], "L6");
    Open([] {
        EXPECT_EQ(MemoLines(*HeaderDlg->HeaderData), (QStringList{"L1", "L2", "", "L4", "L5", "L6"}));
        EXPECT_EQ(MemoLines(*HeaderDlg->FooterData), (QStringList{QString::fromUtf8("Дякуємо"), ""}));
    });
    // Printed at the top and the bottom of a receipt.
    WithPrinter([](Printer& p) {
        p.paper.clear();
        p.PrintReceiptTop();
        p.PrintReceiptBottom();
        EXPECT_EQ(p.paper, (std::vector<std::string>{"L1", "L2", "L4", "L5", "L6", "\xC4\xFF\xEA\xF3\xBA\xEC\xEE"}));
    });
}

TEST_F(HeaderDialog, ALineTooLongForTheWriteIsNamedAndNothingIsSent) {
    Open([] {
        HeaderDlg->HeaderData->setPlainText("A\n" + QString(62, 'b'));
        HeaderDlg->FooterData->setPlainText("x\n" + QString(63, 'f'));
        HeaderDlg->OkBt->click();
        EXPECT_TRUE(HeaderDlg->isVisible());
    });
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Footer line 2 is longer than 62 characters"});
    EXPECT_EQ(script.messages[0].caption, "Error");
    EXPECT_TRUE(Requests().empty());
}

TEST_F(HeaderDialog, WriteStopsAtAFatalStatusAndTheDialogStaysOpen) {
    WithPrinter([](Printer& p) {
        p.SetHandler(qmr::ConfigureReceiptLayout, [](Printer& printer, const qmrsim::Request& q) {
            if (q.data[0] == '2') printer.Fail(st::CommonError);
            return std::string();
        });
    });
    Open([] {
        HeaderDlg->OkBt->click();
        EXPECT_TRUE(HeaderDlg->isVisible());
    });
    EXPECT_EQ(Requests(), Writes({"0", "1", "2"}));
}

TEST_F(HeaderDialog, ReadSkipsEmptyRepliesAndStopsAtAnError) {
    WithPrinter([](Printer& p) { p.setup.lines = {"A", "B", "", "D", "", "", "F1", "F2"}; });
    Open([] {
        HeaderDlg->ReadBt->click();
        EXPECT_EQ(MemoLines(*HeaderDlg->HeaderData), (QStringList{"A", "B", "D"}));  // the reply to I3 moves up
        EXPECT_EQ(MemoLines(*HeaderDlg->FooterData), (QStringList{"F1", "F2"}));
    });
    EXPECT_EQ(Requests(), Writes({"I0", "I1", "I2", "I3", "I4", "I5", "I6", "I7"}));

    sim.ClearRequests();
    WithPrinter([](Printer& p) {
        p.SetHandler(qmr::ConfigureReceiptLayout, [](Printer& printer, const qmrsim::Request& q) {
            if (q.data == "I1") printer.Fail(st::InvalidCommand);
            return std::string("R");
        });
    });
    Open([this] {
        StatusDialog();
        HeaderDlg->ReadBt->click();
        EXPECT_EQ(MemoLines(*HeaderDlg->HeaderData), QStringList{"R"});
        EXPECT_TRUE(MemoLines(*HeaderDlg->FooterData).isEmpty());
    });
    EXPECT_EQ(Requests(), Writes({"I0", "I1"}));
}

TEST_F(HeaderDialog, WriteToFileNamesTheFileAndWritesTheLinesThatExist) {
    const QString path = dir.filePath("shop.fph");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(500, 'o'));
    old.close();
    script.PickNextFile(path);
    Open([] {
        HeaderDlg->HeaderData->setPlainText("A\nB");
        HeaderDlg->FooterData->setPlainText("F");
        HeaderDlg->SaveBt->click();
    });
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{path});
    EXPECT_EQ(script.messages[0].caption, "Aaa");
    ASSERT_EQ(script.files.size(), 1u);
    EXPECT_EQ(script.files[0].kind, qmr::ui::FileDialog::Kind::Save);
    EXPECT_EQ(script.files[0].filter, "Fiscal printer headers (*.fph)|*.FPH");
    EXPECT_EQ(InitFP->SaveFileDlg.DefaultExt, "FPH");
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "0,A\r\n1,B\r\n6,F\r\n");
    EXPECT_TRUE(Requests().empty());
}

TEST_F(HeaderDialog, ASaveThatFailsSaysSoAndLeavesTheOldFile) {
    const QString path = dir.filePath("shop.fph");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("0,OLD\r\n");
    old.close();
    script.PickNextFile(path);
    Open([] {
        HeaderDlg->HeaderData->setPlainText(QString(100, 'x') + "\n" + QString(100, 'y'));
        const DiskLimit full(50);
        HeaderDlg->SaveBt->click();
    });
    EXPECT_EQ(script.MessageTexts(), (std::vector<QString>{path, "Can't write file"}));
    EXPECT_EQ(script.messages[1].caption, "Error");
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "0,OLD\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"shop.fph"});
}

TEST_F(HeaderDialog, ReadFromFileFillsTheMemosAndTouchesNeitherPrinterNorLinesUntilItCloses) {
    const QString path = dir.filePath("shop.fph");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("2,XYZ\r\n2,ABC\r\n9,QQ\r\nx\r\n0," + QByteArray(198, 'a') + "\r\n7,END");
    file.close();
    script.PickNextFile(path);
    script.PickNextFile(std::nullopt);  // a cancel keeps the memos
    Open([] {
        HeaderDlg->GetFileBt->click();
        EXPECT_EQ(MemoLines(*HeaderDlg->HeaderData), (QStringList{QString(125, 'a'), "", "ABC", "", "", ""}));
        EXPECT_EQ(MemoLines(*HeaderDlg->FooterData), (QStringList{"", "END"}));
        EXPECT_EQ(HeaderLines[2], "");
        HeaderDlg->GetFileBt->click();
        EXPECT_EQ(MemoLines(*HeaderDlg->FooterData), (QStringList{"", "END"}));
    });
    EXPECT_EQ(script.files[0].kind, qmr::ui::FileDialog::Kind::Open);
    EXPECT_EQ(script.files[0].filter, "Fiscal printer headers (*.fph)|*.FPH");
    EXPECT_EQ(HeaderLines[2], "ABC");  // the close box puts the memos back
    EXPECT_EQ(HeaderLines[7], "END");
    EXPECT_TRUE(Requests().empty());
}

// A no-break space is a letter of the texts like any other, and a CR that a
// printer data file keeps inside a value does not split its line.
TEST_F(HeaderDialog, ADataFileLineStaysWholeAndKeepsItsNoBreakSpaceToThePrinter) {
    const QString path = dir.filePath("shop.fpd");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("H1=A\xA0" "B\r\nH2=AB\rCD\nH6=six\nF2=Z\n");
    file.close();
    InitFP->LoadPrinterDataFile(path);
    ASSERT_EQ(HeaderLines[1], "AB\rCD");
    const QString nbsp = QStringLiteral("A\u00A0B");
    Open([&] {
        EXPECT_EQ(MemoLines(*HeaderDlg->HeaderData), (QStringList{nbsp, "ABCD", "", "", "", "six"}));
        EXPECT_EQ(MemoLines(*HeaderDlg->FooterData), (QStringList{"", "Z"}));
        // Cut and pasted back, as a user moves lines about.
        HeaderDlg->HeaderData->selectAll();
        HeaderDlg->HeaderData->cut();
        EXPECT_EQ(QApplication::clipboard()->text(), nbsp + "\nABCD\n\n\n\nsix\n");
        HeaderDlg->HeaderData->paste();
        HeaderDlg->OkBt->click();
    });
    EXPECT_EQ(Requests(), Writes({"0A\xA0" "B", "1ABCD", "2", "3", "4", "5six", "6", "7Z"}));
    EXPECT_EQ(HeaderLines[0], "A\xA0" "B");
    EXPECT_EQ(HeaderLines[1], "ABCD");
}

// Each byte from 0x20 to 0xFF, read from a header file and written back.
TEST_F(HeaderDialog, EveryByteOfAHeaderFileLineComesBackFromTheMemos) {
    QByteArray bytes;
    for (int b = 0x20; b <= 0xFF; ++b) bytes += static_cast<char>(b);
    const QByteArray lines =
        "0," + bytes.mid(0, 96) + "\r\n1," + bytes.mid(96, 64) + "\r\n6," + bytes.mid(160) + "\r\n";
    QFile in(dir.filePath("in.fph"));
    ASSERT_TRUE(in.open(QIODevice::WriteOnly));
    in.write(lines);
    in.close();
    const QString out = dir.filePath("out.fph");
    script.PickNextFile(in.fileName());
    script.PickNextFile(out);
    Open([] {
        HeaderDlg->GetFileBt->click();
        HeaderDlg->SaveBt->click();
    });
    const QByteArray written = "0," + bytes.mid(0, 96) + "\r\n1," + bytes.mid(96, 64) +
                               "\r\n2,\r\n3,\r\n4,\r\n5,\r\n6," + bytes.mid(160) + "\r\n7,\r\n";
    EXPECT_EQ(qmr::test::ReadFile(out), written);
    EXPECT_EQ(HeaderLines[6], bytes.mid(160).toStdString());
}

TEST(THeaderDlgForm, ShowsItsCaptionsUncutAndAScrollBarBesideTheHeader) {
    THeaderDlg dlg;
    EXPECT_EQ(dlg.Label1->text(), "Header:");
    EXPECT_EQ(dlg.Label2->text(), "Footer:");
    EXPECT_EQ(dlg.ReadBt->text(), "Read");
    EXPECT_EQ(dlg.OkBt->text(), "Write");
    EXPECT_EQ(dlg.SaveBt->text(), "Write to file");
    EXPECT_EQ(dlg.GetFileBt->text(), "Read from file");
    EXPECT_EQ(dlg.HeaderData->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(qmr::test::ClippedCaptions(dlg), std::vector<std::string>{});
    EXPECT_EQ(qmr::test::OverlappingControls(dlg), std::vector<std::string>{});
}

}  // namespace
}  // namespace prendix
