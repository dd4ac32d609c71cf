// Vextora's main window: start-up, connecting, and the articles file.
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <thread>

#include "Cp1251.h"
#include "DiskLimit.h"
#include "Settings.h"
#include "VextoraFixture.h"

namespace vextora {
namespace {

namespace colour = qmr::ui::colour;

// A press of the left button at a point of the grid's viewport.
void PressOnGrid(const QPoint& at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* viewport = Form1->ArtTable->viewport();
    QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      modifiers);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        modifiers);
    QApplication::sendEvent(viewport, &release);
}

QStringList Captions(const QMenu& menu) {
    QStringList captions;
    for (const QAction* a : menu.actions()) captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return captions;
}

TEST_F(VextoraWindow, StartsWithAnEmptyTableTheDiscoveredPortsAndTheLampOff) {
    EXPECT_EQ(Form1->windowTitle(), "Fiscal printer QMR-770 test");
    EXPECT_EQ(Form1->Client->size(), QSize(542, 361));
    // A fixed border with the close box only, centred on the desktop.
    EXPECT_EQ(Form1->minimumSize(), Form1->maximumSize());
    EXPECT_FALSE(Form1->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    const QRect desk = QApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((Form1->frameGeometry().center() - desk.center()).manhattanLength(), 4);
    EXPECT_EQ(Form1->ArtTable->Model().Table().RowCount(), 2);
    EXPECT_EQ(Grid(), (std::vector<QStringList>{{"", "", "", "", "", ""}}));
    EXPECT_EQ(Form1->ArtTable->SelectedRow(), 1);
    QStringList headers;
    for (int c = 0; c < ArticleColumns; ++c)
        headers << Form1->ArtTable->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(headers, (QStringList{"PLU", "Tax", "Group", "Price", "Quantity", "Name"}));
    EXPECT_EQ(Form1->TotalFld->text(), "0.00");
    EXPECT_EQ(Form1->PayMode->currentText(), "Cash");
    EXPECT_EQ(Form1->QuantityFld->text(), "1");
    EXPECT_FALSE(Form1->StornoType->isChecked());
    EXPECT_FALSE(Form1->CancelBt->isEnabled());
    EXPECT_EQ(Form1->ConnectBt->text(), "Connect");
    EXPECT_EQ(Form1->Shape1->BrushColor(), colour::Green);
    EXPECT_EQ(qmr::test::ItemsOf(*Form1->PortNum), (QStringList{"/dev/ttyQMR0", "/dev/ttyQMR1", QString::fromStdString(sim.DevicePath())}));
    EXPECT_EQ(Form1->PortNum->currentIndex(), 2);
    EXPECT_EQ(Form1->BaudsList->currentText(), "115200");
    EXPECT_EQ(OperatorNumber, 1);
    EXPECT_EQ(OperatorPassword, "4826");
    EXPECT_EQ(EnteredPassword, "4826");
    ASSERT_NE(StatusDlg, nullptr);
    EXPECT_EQ(StatusDlg->Variant(), qmr::LinkVariant::TestUtility);
    for (QObject* form : std::initializer_list<QObject*>{CommandFrm, StatusDlg, PwdDialog, OperatorDlg, MemForm})
        EXPECT_EQ(form->parent(), Form1);
}

TEST_F(VextoraWindow, HasTheWholeMenuWithEveryItemOn) {
    QStringList top;
    for (const QAction* a : Form1->MainMenu1->actions()) top << a->text();
    EXPECT_EQ(top, (QStringList{"Articles", "Service", "Commands"}));
    EXPECT_EQ(Captions(*Form1->ArticlesM),
              (QStringList{"Load from File", "Save to File", "-", "Send to Printer", "Read from Printer"}));
    EXPECT_EQ(Captions(*Form1->ServiceM), (QStringList{"Select Operator", "Load Graphics Logo", "-", "Read Fiscal Memory",
                                                       "Read Code Memory", "-", "Make Resets", "Make Closures"}));
    EXPECT_EQ(Form1->TestM->menu(), nullptr);  // the top-level item itself runs
    for (const QAction* on : {Form1->LoadM, Form1->SaveM, Form1->StoreM, Form1->ReadfromPrinter1, Form1->OperatorM,
                              Form1->LoadLogoM, Form1->ReadFMM, Form1->ReadCodeMM, Form1->ResetsM, Form1->ClosuresM,
                              Form1->TestM})
        EXPECT_TRUE(on->isEnabled()) << on->objectName().toStdString();
}

TEST_F(VextoraWindow, EveryControlFitsTheClientArea) {
    for (const QWidget* w : Form1->Client->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(Form1->Client->rect().contains(w->geometry())) << w->objectName().toStdString();
    EXPECT_EQ(Form1->Client->geometry().top(), Form1->MainMenu1->geometry().bottom() + 1);
    // Every caption shows whole and no control hides another, in each window.
    Connect();  // "Disconnect" is the longer caption
    for (const QWidget* form : std::initializer_list<const QWidget*>{Form1->Client, CommandFrm, OperatorDlg, PwdDialog, MemForm}) {
        EXPECT_EQ(qmr::test::ClippedCaptions(*form), std::vector<std::string>{}) << form->objectName().toStdString();
        EXPECT_EQ(qmr::test::OverlappingControls(*form), std::vector<std::string>{}) << form->objectName().toStdString();
    }
}

TEST_F(VextoraWindow, ConnectAndDisconnectTurnTheLampAndCaption) {
    Connect();
    EXPECT_EQ(Form1->ConnectBt->text(), "Disconnect");
    EXPECT_EQ(Form1->Shape1->BrushColor(), colour::Lime);
    Form1->ConnectBt->click();
    EXPECT_FALSE(qmr::Link().Connected);
    EXPECT_EQ(Form1->ConnectBt->text(), "Connect");
    EXPECT_EQ(Form1->Shape1->BrushColor(), colour::Green);
    EXPECT_TRUE(script.messages.empty());
}

// The connect button pressed while a command waits for its reply, before the
// hold greys the button: the press is lost, and the command goes on to its
// end on the open port.
TEST_F(VextoraWindow, APressOfConnectDuringAnExchangeLeavesTheConnection) {
    Connect();
    ClickDuringTheNextExchange(*Form1->ConnectBt);
    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultNoLink);
    EXPECT_TRUE(clickedDuringExchange);
    EXPECT_TRUE(qmr::Link().Connected);
    EXPECT_NE(qmr::Link().PortHandle, -1);
    EXPECT_EQ(Form1->ConnectBt->text(), "Disconnect");
    EXPECT_EQ(Form1->Shape1->BrushColor(), colour::Lime);
    EXPECT_EQ(Commands(), (std::vector<int>{74, 74, 74, 74}));
    EXPECT_EQ(Sequences(), std::vector<std::uint8_t>(4, Sequences().front()));
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"No printer response"});
}

// As main starts the program: the ports are read on a thread of their own
// while the forms are built, and the window shows that reading, with the
// saved choice, as soon as it is shown.
TEST_F(VextoraWindow, ShowsThePortsReadWhileTheFormsWereBuilt) {
    Form1->close();
    delete Form1;
    std::thread::id readOn;
    qmr::test::StartPortReadingAsMainDoes({"/dev/ttyUSBQMR", "/dev/ttyQMR0"}, readOn);

    StartProgram();

    EXPECT_EQ(qmr::test::ItemsOf(*Form1->PortNum),
              (QStringList{"/dev/ttyQMR0", "/dev/ttyUSBQMR", QString::fromStdString(sim.DevicePath())}));
    EXPECT_EQ(Form1->PortNum->currentIndex(), 2);
    EXPECT_EQ(Form1->BaudsList->currentText(), "115200");
    EXPECT_NE(readOn, std::this_thread::get_id());
}

TEST_F(VextoraWindow, APortThatCannotBeOpenedLeavesTheWindowDisconnected) {
    Form1->PortNum->setCurrentIndex(0);  // a port that is not there
    Form1->ConnectBt->click();
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Can't open serial port"});
    EXPECT_EQ(Form1->ConnectBt->text(), "Connect");
    EXPECT_EQ(Form1->Shape1->BrushColor(), colour::Green);
    Form1->PortNum->setCurrentIndex(2);
    Connect();
}

TEST_F(VextoraWindow, DroppingThePortListDownReadsThePortsAgain) {
    Form1->PortNum->setCurrentIndex(0);  // picked but not connected
    qmr::test::PortsScope more({"/dev/ttyQMR0", "/dev/ttyQMR1", "/dev/ttyUSBQMR"}, sim.DevicePath());
    Form1->PortNum->showPopup();
    Form1->PortNum->hidePopup();
    EXPECT_EQ(qmr::test::ItemsOf(*Form1->PortNum).size(), 4);
    EXPECT_EQ(Form1->PortNum->itemText(2), "/dev/ttyUSBQMR");
    // Back to the index loaded at start.
    EXPECT_EQ(Form1->PortNum->currentIndex(), 2);
}

TEST_F(VextoraWindow, ClosingSavesThePortAndSpeedAndLeavesThePortToTheEnd) {
    Connect();
    Form1->BaudsList->setCurrentIndex(1);
    Form1->close();
    EXPECT_EQ(qmr::test::ReadSetting("SerialPort"), 2);
    EXPECT_EQ(qmr::test::ReadSetting("Bauds"), 1);
    EXPECT_NE(qmr::Link().PortHandle, -1);
}

TEST_F(VextoraWindow, LoadedArticlesShowTheirTaxLetterAsCyrillicCapitals) {
    LoadArticles("12,1,2.5,2,MILK\r\n13,2,3,1,BREAD\n7,1.9,1e1,5,A,B\n12,1,2.5,6,X\n14,1,1,3,\xCC\xCE\xCB\xCE\xCA\xCE");
    ASSERT_EQ(script.files.size(), 1u);
    EXPECT_EQ(script.files[0].filter, "Articles data (*.art)|*.ART");
    EXPECT_EQ(Grid(), (std::vector<QStringList>{{"12", "Б", "1", "2.50", "0.000", "MILK"},
                                                {"13", "А", "2", "3.00", "0.000", "BREAD"},
                                                {"7", "Д", "1", "10.00", "0.000", "A,B"},
                                                {"14", "В", "1", "1.00", "0.000", "МОЛОКО"}}));
}

TEST_F(VextoraWindow, ACancelledLoadLeavesTheTableAndAnUnreadableOneSaysSo) {
    LoadArticles("12,1,2.5,2,MILK\r\n");
    script.PickNextFile(std::nullopt);
    Form1->LoadM->trigger();
    EXPECT_TRUE(script.messages.empty());
    // Missing, a folder, and a file that opens but fails while it is read.
    for (const QString& path : {files.filePath("missing.art"), files.path(), QStringLiteral("/proc/self/mem")}) {
        script.PickNextFile(path);
        Form1->LoadM->trigger();
        EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Can't read file"}) << path.toStdString();
        ASSERT_FALSE(script.messages.empty());
        EXPECT_EQ(script.messages[0].caption, "Error");
        script.messages.clear();
        EXPECT_EQ(Grid().size(), 1u);
        EXPECT_EQ(Grid()[0][5], "MILK");
    }
    // A file without one good line gives the empty table.
    LoadArticles("junk\r\n1,\r\n");
    EXPECT_EQ(Grid(), (std::vector<QStringList>{{"", "", "", "", "", ""}}));
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(VextoraWindow, ALoadedTableStartsWithItsFirstRowCurrent) {
    LoadArticles("1,1,1.00,1,A\n2,1,2.00,1,B\n3,1,3.00,1,C\n");
    Form1->ArtTable->SelectRow(3);
    LoadArticles("7,1,4.00,1,D\n8,1,5.00,1,E\n");
    EXPECT_EQ(Form1->ArtTable->SelectedRow(), 1);
    // A click on a row selects it and shows its line amount; one below the
    // last row keeps the row that was selected.
    const QRect second = Form1->ArtTable->visualRect(Form1->ArtTable->model()->index(1, 0));
    PressOnGrid(second.center());
    EXPECT_EQ(Form1->ArtTable->SelectedRow(), 2);
    EXPECT_EQ(Form1->PriceFld->text(), "5.00");
    Form1->PriceFld->clear();
    PressOnGrid({second.center().x(), Form1->ArtTable->viewport()->height() - 2});
    EXPECT_EQ(Form1->ArtTable->SelectedRow(), 2);
    EXPECT_EQ(Form1->PriceFld->text(), "5.00");
}

TEST_F(VextoraWindow, CtrlWithAClickOrSpaceKeepsTheCurrentRowSelected) {
    Connect();
    LoadArticles("15,1,2.50,2,MILK\r\n16,1,1.00,1,BREAD\r\n");
    const QRect first = Form1->ArtTable->visualRect(Form1->ArtTable->model()->index(0, 0));
    PressOnGrid(first.center(), Qt::ControlModifier);
    EXPECT_EQ(Form1->ArtTable->SelectedRow(), 1);
    Form1->ArtTable->SelectRow(1);
    QKeyEvent ctrlSpace(QEvent::KeyPress, Qt::Key_Space, Qt::ControlModifier, QStringLiteral(" "));
    QApplication::sendEvent(Form1->ArtTable, &ctrlSpace);
    EXPECT_EQ(Form1->ArtTable->SelectedRow(), 1);
    // Sell still sells the row.
    sim.ClearRequests();
    Form1->SelBt->click();
    const std::vector<int> expected = {qmr::ReadStatus, qmr::ReadStatus, qmr::OpenFiscalReceipt,
                                       qmr::SellArticleWithDisplay, qmr::ReadReceiptTotals};
    EXPECT_EQ(TakeCommands(), expected);
    // Ctrl with a click on another row moves the selection there.
    const QRect second = Form1->ArtTable->visualRect(Form1->ArtTable->model()->index(1, 0));
    PressOnGrid(second.center(), Qt::ControlModifier);
    EXPECT_EQ(Form1->ArtTable->SelectedRow(), 2);
}

TEST_F(VextoraWindow, TheGridNeverScrollsSideways) {
    LoadArticles("15,1,2.50,2," + QByteArray(200, 'N') + "\r\n16,1,1.00,1,BREAD\r\n");
    ArticleGridView& grid = *Form1->ArtTable;
    const QAbstractItemModel& m = *grid.model();
    // The columns fill the view: Name ends at its right edge.
    EXPECT_EQ(grid.columnViewportPosition(ColName) + grid.columnWidth(ColName), grid.viewport()->width());
    EXPECT_EQ(grid.columnWidth(ColPlu), 53);
    EXPECT_EQ(grid.columnWidth(ColQuantity), 71);
    // A click in the Name column, keys to the right, and the user widening a
    // column past the edge leave PLU where it stands.
    PressOnGrid(grid.visualRect(m.index(0, ColName)).center());
    for (int i = 0; i < 6; ++i) {
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(&grid, &right);
    }
    grid.horizontalHeader()->resizeSection(ColPrice, 600);
    grid.scrollTo(m.index(1, ColName));
    EXPECT_EQ(grid.horizontalScrollBar()->value(), 0);
    EXPECT_EQ(grid.columnViewportPosition(ColPlu), 0);
    EXPECT_EQ(grid.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

class ArticlesSave : public VextoraWindow {
protected:
    void Save(const QString& path) {
        script.PickNextFile(path);
        Form1->SaveM->trigger();
    }
};

TEST_F(ArticlesSave, WritesCanonicalLinesToANewFileWithoutAsking) {
    LoadArticles("12,1,2.5,1,X\n5,3,0.1,2,TAB\tNAME\n");
    const QString path = files.filePath("new.art");
    Save(path);
    EXPECT_EQ(script.files.back().filter, "Articled data (*.art)|*.ART");
    EXPECT_TRUE(script.messages.empty());
    EXPECT_EQ(ReadFile(path), "00012,1,2.50,1,X\r\n00005,3,0.10,2,TAB\tNAME\r\n");
    // Without an extension the default one is added.
    Save(files.filePath("plain"));
    EXPECT_EQ(ReadFile(files.filePath("plain.ART")), ReadFile(path));
}

TEST_F(ArticlesSave, NamesKeepEveryByteFromBlankTo0xFFThroughLoadDisplayAndSave) {
    QByteArray low, high;
    for (int b = 0x20; b < 0x90; ++b) low.append(static_cast<char>(b));
    for (int b = 0x90; b <= 0xFF; ++b) high.append(static_cast<char>(b));
    const QByteArray file = "00001,1,1.00,1," + low + "\r\n00002,1,1.00,1," + high + "\r\n";
    LoadArticles(file);
    const auto shown = Grid();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(qmr::ToCp1251(shown[0][ColName]), low.toStdString());
    EXPECT_EQ(qmr::ToCp1251(shown[1][ColName]), high.toStdString());
    const QString path = files.filePath("same.art");
    Save(path);
    EXPECT_EQ(ReadFile(path), file);
}

TEST_F(ArticlesSave, ARowThatWouldReloadAsAnotherIsLeftOutAndNamed) {
    // 255 bytes as loaded, 258 as saved ("00001", "2.50"): reloading would
    // cut the name and read its tail as an article PLU 9.
    const QByteArray name = QByteArray(255 - 10 - 7, 'n') + "9,1,1,1";
    LoadArticles("1,1,2.5,1," + name + "\r\n2,1,1,1,SHORT\r\n");
    ASSERT_EQ(Grid().size(), 2u);
    const QString path = files.filePath("long.art");
    Save(path);
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Articles not saved, they would not load back as they are: PLU 1"});
    EXPECT_EQ(script.messages[0].caption, "Error");
    EXPECT_EQ(ReadFile(path), "00002,1,1.00,1,SHORT\r\n");
}

TEST_F(ArticlesSave, AnExistingFileIsReplacedWholeOnlyAfterYes) {
    LoadArticles("12,1,2.5,1,X\n");
    const QString path = WriteFile("old.art", QByteArray(500, 'o'));
    script.AnswerNext(qmr::IdNo);
    Save(path);
    EXPECT_EQ(ReadFile(path), QByteArray(500, 'o'));
    script.AnswerNext(qmr::IdYes);
    Save(path);
    EXPECT_EQ(ReadFile(path), "00012,1,2.50,1,X\r\n");
    ASSERT_EQ(script.messages.size(), 2u);
    EXPECT_EQ(script.messages[0].text, "File exists. Overwrite?");
    EXPECT_EQ(script.messages[0].caption, "Warning");
    EXPECT_EQ(script.messages[0].buttons, qmr::MbYesNo);
}

TEST_F(ArticlesSave, ATableWithNoSavableRowEmptiesTheFile) {
    LoadArticles("0,1,2.5,1,ZERO PLU\n");
    const QString path = WriteFile("old.art", "00001,1,1.00,1,OLD\r\n");
    script.AnswerNext(qmr::IdYes);
    Save(path);
    EXPECT_EQ(ReadFile(path), "");
}

TEST_F(ArticlesSave, AWriteThatFailsSaysSoAndLeavesTheOldFile) {
    QByteArray many;
    for (int plu = 1; plu <= 40; ++plu) many += QByteArray::number(plu) + ",1,1.00,1,ARTICLE NUMBER " + QByteArray::number(plu) + "\n";
    LoadArticles(many);
    const QString path = WriteFile("old.art", "00001,1,1.00,1,OLD\r\n");
    script.AnswerNext(qmr::IdYes);
    {
        const DiskLimit full(200);
        Save(path);
    }
    ASSERT_EQ(script.messages.size(), 2u);
    EXPECT_EQ(script.messages[1].text, "Can't write file");
    EXPECT_EQ(script.messages[1].caption, "Error");
    EXPECT_EQ(ReadFile(path), "00001,1,1.00,1,OLD\r\n");
    EXPECT_EQ(QDir(files.path()).entryList(QDir::Files), (QStringList{"load.art", "old.art"}));
}

}  // namespace
}  // namespace vextora
