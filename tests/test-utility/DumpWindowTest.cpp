// The memory dumps of the Service menu: the dump window reads, lists and
// saves the fiscal memory and the code memory of the simulated printer.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <memory>

#include "MemoryDump.h"
#include "VextoraFixture.h"

namespace vextora {
namespace {

using qmr::ReadFirmwareBlock;
using qmr::ReadFiscalMemoryBlock;
using qmr::ReadStatus;

class Dump : public VextoraWindow {
protected:
    void SetUp() override {
        VextoraWindow::SetUp();
        Connect();
        // Every byte of the fiscal memory tells where it stands.
        WithPrinter([](qmrsim::Printer& p) {
            for (std::size_t i = 0; i < p.fiscalMemory.image.size(); ++i)
                p.fiscalMemory.image[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
        });
        sim.ClearRequests();
    }
    std::vector<std::uint8_t> Image(bool firmware = false) {
        return sim.WithPrinter([firmware](qmrsim::Printer& p) { return firmware ? p.fiscalMemory.code : p.fiscalMemory.image; });
    }
    QByteArray Bytes(const std::vector<std::uint8_t>& image, std::size_t n) {
        return QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(n));
    }
    // Opens the dump window from the menu; `inside` runs while it shows.
    void OpenDump(QAction* item, std::function<void()> inside) {
        script.OnNextModal([inside](QDialog& form) {
            EXPECT_EQ(&form, MemForm);
            inside();
        });
        item->trigger();
    }
    QStringList Listing() const { return MemForm->FlashData->toPlainText().split('\n', Qt::SkipEmptyParts); }
    std::vector<bool> Buttons() const {
        return {MemForm->ReadBt->isEnabled(), MemForm->CancelBt->isEnabled(), MemForm->SaveBt->isEnabled()};
    }
    void Save(const QString& path) {
        script.PickNextFile(path);
        MemForm->SaveBt->click();
    }
    void CancelAtBlock(int block, int command = ReadFiscalMemoryBlock) {
        DuringRequest(command, BlockRequestData(block), 1, [] { MemForm->CancelBt->click(); });
    }
};

TEST_F(Dump, TheWindowCanBeSizedAndListsInAFixedReadOnlyFont) {
    EXPECT_LT(MemForm->minimumSize().width(), MemForm->maximumSize().width());
    EXPECT_LE(MemForm->minimumSize().width(), 192);
    EXPECT_TRUE(MemForm->FlashData->isReadOnly());
    EXPECT_EQ(MemForm->FlashData->font().pixelSize(), 12);
    EXPECT_EQ(MemForm->Panel1->height(), 354);
    EXPECT_EQ((std::pair{MemForm->PrgBar->minimum(), MemForm->PrgBar->maximum()}), (std::pair{0, 255}));
    EXPECT_FALSE(MemForm->SaveBt->isEnabled());
}

TEST_F(Dump, TheWholeFiscalMemoryIsReadListedAndSaved) {
    const QString path = files.filePath("fm.bin");
    OpenDump(Form1->ReadFMM, [&] {
        EXPECT_EQ(MemForm->windowTitle(), "Read Fiscal Memory");
        EXPECT_EQ(Buttons(), (std::vector<bool>{true, false, false}));
        EXPECT_EQ(DumpBuffer.size(), 327680u);
        MemForm->ReadBt->click();
        EXPECT_EQ(Buttons(), (std::vector<bool>{true, false, true}));
        EXPECT_EQ(MemForm->PrgBar->value(), 255);
        const QStringList listing = Listing();
        ASSERT_EQ(listing.size(), 20480);
        EXPECT_TRUE(listing.back().startsWith("4FFF0  "));
        EXPECT_EQ(listing.back().size(), 72);
        Save(path);
    });
    const auto received = TakeRequests();
    ASSERT_EQ(received.size(), 2u + 5120u);
    EXPECT_EQ(received[0], (Sent{ReadStatus, ""}));
    EXPECT_EQ(received[1], (Sent{ReadStatus, ""}));
    EXPECT_EQ(received[2], (Sent{ReadFiscalMemoryBlock, "00000,64"}));
    EXPECT_EQ(received.back(), (Sent{ReadFiscalMemoryBlock, "4FFC0,64"}));
    EXPECT_EQ(ReadFile(path), Bytes(Image(), 327680));
    // The buffer goes with the window.
    EXPECT_TRUE(DumpBuffer.empty());
}

TEST_F(Dump, TheWholeCodeMemoryIsReadWithItsOwnCommand) {
    const QString path = files.filePath("code.bin");
    OpenDump(Form1->ReadCodeMM, [&] {
        EXPECT_EQ(MemForm->windowTitle(), "Read Firmware");
        EXPECT_EQ(DumpBuffer.size(), 131072u);
        MemForm->ReadBt->click();
        EXPECT_EQ(MemForm->PrgBar->value(), 255);
        EXPECT_EQ(Listing().size(), 8192);
        Save(path);
    });
    const auto received = TakeRequests();
    ASSERT_EQ(received.size(), 2u + 2048u);
    EXPECT_EQ(received[2], (Sent{ReadFirmwareBlock, "00000,64"}));
    EXPECT_EQ(received.back(), (Sent{ReadFirmwareBlock, "1FFC0,64"}));
    EXPECT_EQ(ReadFile(path), Bytes(Image(true), 131072));
}

TEST_F(Dump, TheBarGainsAStepEveryTwentyBlocksOfTheFiscalMemoryAndEveryEightOfTheCode) {
    struct Case {
        QAction* item;
        int command;
        int afterBlock159;
    };
    for (const Case c : {Case{Form1->ReadFMM, ReadFiscalMemoryBlock, 7}, Case{Form1->ReadCodeMM, ReadFirmwareBlock, 19}}) {
        int shown = -1;
        DuringRequest(c.command, BlockRequestData(160), 1, [&shown] {
            shown = MemForm->PrgBar->value();
            MemForm->CancelBt->click();
        });
        OpenDump(c.item, [] { MemForm->ReadBt->click(); });
        EXPECT_EQ(shown, c.afterBlock159) << c.command;
    }
}

TEST_F(Dump, TheListingShowsTheRepliesDigitsAsTheyCameAndTheBytesAsCharacters) {
    WithPrinter([](qmrsim::Printer& p) {
        p.SetReplyData(ReadFiscalMemoryBlock, "41420a7F" + std::string(120, '3'));
    });
    CancelAtBlock(0);
    OpenDump(Form1->ReadFMM, [&] {
        MemForm->PrgBar->setValue(99);
        MemForm->ReadBt->click();
        EXPECT_EQ(MemForm->PrgBar->value(), 0);
        const QStringList listing = Listing();
        ASSERT_EQ(listing.size(), 4);
        EXPECT_EQ(listing[0], "00000  41 42 0a 7F 33 33 33 33 33 33 33 33 33 33 33 33  AB.\x7F" "333333333333");
        EXPECT_EQ(listing[3].left(7), "00030  ");
        EXPECT_EQ(DumpLength, 64);
        EXPECT_EQ((std::vector<int>(DumpBuffer.begin(), DumpBuffer.begin() + 4)), (std::vector<int>{0x41, 0x42, 0x0A, 0x7F}));
    });
}

TEST_F(Dump, ACopyOfTheListingKeepsItsNoBreakSpaces) {
    WithPrinter([](qmrsim::Printer& p) { p.SetReplyData(ReadFiscalMemoryBlock, "A0" + std::string(126, '3')); });
    CancelAtBlock(0);
    OpenDump(Form1->ReadFMM, [&] {
        MemForm->ReadBt->click();
        MemForm->FlashData->selectAll();
        MemForm->FlashData->copy();
        EXPECT_EQ(QApplication::clipboard()->text().section('\n', 0, 0).right(16), QChar(0xA0) + QString(15, '3'));
    });
}

TEST_F(Dump, CancelAfterBlockTenSavesSevenHundredAndFourBytes) {
    const QString path = files.filePath("part.bin");
    CancelAtBlock(10);
    OpenDump(Form1->ReadFMM, [&] {
        MemForm->ReadBt->click();
        EXPECT_EQ(Listing().size(), 44);
        EXPECT_EQ(Buttons(), (std::vector<bool>{true, false, true}));
        Save(path);
    });
    EXPECT_EQ(TakeRequests().size(), 2u + 11u);
    EXPECT_EQ(ReadFile(path), Bytes(Image(), 704));
}

TEST_F(Dump, AnErrorOnBlockZeroLeavesAnEmptyDumpThatCutsALongerFile) {
    const QString path = WriteFile("old.bin", QByteArray(5000, 'x'));
    WithPrinter([](qmrsim::Printer& p) {
        p.SetHandler(ReadFiscalMemoryBlock, [](qmrsim::Printer& q, const qmrsim::Request&) {
            q.Fail(qmrsim::st::SyntaxError);
            return std::string();
        });
    });
    OpenDump(Form1->ReadFMM, [&] {
        script.OnNextModal([](QDialog& form) { EXPECT_EQ(form.objectName(), "StatusDlg"); });
        MemForm->ReadBt->click();
        EXPECT_TRUE(Listing().isEmpty());
        EXPECT_EQ(Buttons(), (std::vector<bool>{true, false, true}));
        script.AnswerNext(qmr::IdYes);
        Save(path);
    });
    EXPECT_EQ(TakeCommands(), (std::vector<int>{ReadStatus, ReadStatus, ReadFiscalMemoryBlock}));
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"File exists. Overwrite?"});
    EXPECT_EQ(script.messages[0].caption, "Warning");
    EXPECT_EQ(ReadFile(path), QByteArray());
}

TEST_F(Dump, ShortAndMalformedRepliesDecodeTheirBadPairsAsZero) {
    WithPrinter([](qmrsim::Printer& p) {
        p.SetHandler(ReadFiscalMemoryBlock, [](qmrsim::Printer&, const qmrsim::Request& r) {
            return r.data == "00000,64" ? std::string("4142") : "ZZ4x" + std::string(124, 'a');
        });
    });
    CancelAtBlock(1);
    OpenDump(Form1->ReadFMM, [&] {
        MemForm->ReadBt->click();
        ASSERT_EQ(DumpLength, 128);
        EXPECT_EQ((std::vector<int>(DumpBuffer.begin(), DumpBuffer.begin() + 3)), (std::vector<int>{0x41, 0x42, 0}));
        EXPECT_TRUE(std::all_of(DumpBuffer.begin() + 2, DumpBuffer.begin() + 64, [](std::uint8_t b) { return b == 0; }));
        EXPECT_EQ(DumpBuffer[64], 0);
        EXPECT_EQ(DumpBuffer[65], 0);
        EXPECT_EQ(DumpBuffer[66], 0xAA);
        const QStringList listing = Listing();
        ASSERT_EQ(listing.size(), 8);
        EXPECT_EQ(listing[0], "00000  41 42" + QString(42, ' ') + "  AB" + QString(14, '.'));
        EXPECT_EQ(listing[1], "00010  " + QString(47, ' ') + "  " + QString(16, '.'));
        EXPECT_TRUE(listing[4].startsWith("00040  ZZ 4x aa"));
    });
}

TEST_F(Dump, ClosingTheWindowDuringAReadStopsItAndTheBufferLivesUntilItEnds) {
    DuringRequest(ReadFiscalMemoryBlock, BlockRequestData(3), 1, [] { MemForm->close(); });
    OpenDump(Form1->ReadFMM, [&] {
        MemForm->ReadBt->click();
        EXPECT_FALSE(MemForm->isVisible());
        EXPECT_EQ(DumpLength, 256);
        EXPECT_EQ(DumpBuffer.size(), 327680u);
    });
    EXPECT_EQ(TakeRequests().size(), 2u + 4u);
    EXPECT_TRUE(DumpBuffer.empty());
}

TEST_F(Dump, AFailedStatusReadLeavesEveryButtonOffUntilTheNextShowing) {
    Form1->ConnectBt->click();  // the port closed
    OpenDump(Form1->ReadFMM, [&] {
        MemForm->ReadBt->click();
        EXPECT_EQ(Buttons(), (std::vector<bool>{false, false, false}));
    });
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Serial port not open"});
    OpenDump(Form1->ReadCodeMM, [&] { EXPECT_EQ(Buttons(), (std::vector<bool>{true, false, false})); });
}

TEST_F(Dump, EachShowingStartsWithAnEmptyListingAndSaveOff) {
    CancelAtBlock(0);
    OpenDump(Form1->ReadFMM, [&] { MemForm->ReadBt->click(); });
    OpenDump(Form1->ReadFMM, [&] {
        EXPECT_TRUE(Listing().isEmpty());
        EXPECT_EQ(Buttons(), (std::vector<bool>{true, false, false}));
    });
}

TEST_F(Dump, SavingAsksBeforeOverwritingAndAFailedWriteLeavesTheOldFile) {
    const QString old = WriteFile("old.bin", "OLD");
    CancelAtBlock(0);
    OpenDump(Form1->ReadFMM, [&] {
        MemForm->ReadBt->click();
        script.PickNextFile(std::nullopt);  // the file dialog cancelled
        MemForm->SaveBt->click();
        script.AnswerNext(qmr::IdNo);
        Save(old);
        EXPECT_EQ(ReadFile(old), "OLD");
        Save(files.filePath("no-such-folder/x.bin"));
        EXPECT_EQ(script.files.back().title, "Save Fiscal Printer Data");
        EXPECT_EQ(script.files.back().filter, "Binary files|*.bin|All files|*.*");
    });
    EXPECT_EQ(script.MessageTexts(), (std::vector<QString>{"File exists. Overwrite?", "Can't write file"}));
    EXPECT_EQ(script.messages[1].caption, "Error");
}

}  // namespace
}  // namespace vextora
