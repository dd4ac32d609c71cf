// Prendix's Graphic Logo button, against the simulated printer.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "Commands.h"
#include "Placement.h"
#include "Prendix.h"
#include "SimulatedPrinterFixture.h"

namespace prendix {
namespace {

class PrendixLogo : public qmr::test::SimulatedPrinterFixture {
protected:
    PrendixLogo() : SimulatedPrinterFixture({"/dev/ttyS0"}) {}

    void SetUp() override {
        qmr::test::ClearSettings();
        qmr::test::WriteSettings(1, 3);  // the simulator's pty at 115200
        CreateForms();
        InstallProgramLink(line, clock);
        InitFP->show();
        InitFP->ConnectBt->click();
        ASSERT_TRUE(qmr::Link().Connected);
    }
    void TearDown() override {
        delete InitFP;
        SimulatedPrinterFixture::TearDown();
    }
};

TEST_F(PrendixLogo, GraphicLogoPlacesTheDialogOverTheWindowAndUploadsThroughItsPictureDialog) {
    ASSERT_NE(LogoDlg, nullptr);
    EXPECT_EQ(LogoDlg->parent(), InitFP);
    EXPECT_GT(InitFP->children().indexOf(LogoDlg), InitFP->children().indexOf(StatusDlg));

    QTemporaryDir dir;
    const QString file = dir.filePath("logo.bmp");
    QImage image(8, 2, QImage::Format_Mono);  // one bit, white at index 0
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    image.setPixel(7, 1, 1);
    ASSERT_TRUE(image.save(file, "BMP"));

    const QSize size = LogoDlg->frameGeometry().size();
    const QPoint origin = InitFP->mapToGlobal(QPoint(0, 0));
    const qmr::Point at = qmr::PlaceDialog({origin.x(), origin.y()}, 497, 337, size.width(), size.height());
    script.OnNextModal([&](QDialog&) {
        LogoDlg->PwdBox->setText("4826");
        script.PickNextFile(file);
        LogoDlg->LoadBt->click();
    });
    InitFP->LogoBt->click();
    ASSERT_EQ(script.modals.size(), 1u);
    EXPECT_EQ(script.modals[0].objectName, "LogoDlg");
    EXPECT_EQ(script.modals[0].caption, "Graphics Logo");
    EXPECT_EQ(script.modals[0].pos, QPoint(at.x, at.y));
    ASSERT_EQ(script.files.size(), 1u);
    EXPECT_EQ(script.files[0].title, QString::fromUtf8("Избери файл"));
    EXPECT_EQ(script.files[0].filter, "Bitmap files (*.bmp)|*.BMP");
    EXPECT_TRUE(script.messages.empty());

    const auto requests = sim.Requests();
    ASSERT_EQ(requests.size(), 97u);
    EXPECT_EQ(requests[94].data, "4826,94,00");
    EXPECT_EQ(requests[95].data, "4826,95,01");
    EXPECT_EQ(requests[96].cmd, qmr::ConfigureReceiptLayout);
    WithPrinter([](qmrsim::Printer& p) {
        EXPECT_TRUE(p.logo.printing);
        EXPECT_EQ(qmrsim::LogoLines(p.logo), std::vector<std::string>{"       #"});
    });
}

}  // namespace
}  // namespace prendix
