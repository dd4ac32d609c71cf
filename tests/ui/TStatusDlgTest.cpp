#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <set>

#include "Executor.h"
#include "TStatusDlg.h"
#include "UiTestSupport.h"

namespace {

using qmr::LinkVariant;
using qmr::ui::TStatusDlg;

// The names of the ticked boxes after a showing with these status bytes and status word.
std::set<QString> TickedAfterShowing(TStatusDlg& dlg, std::array<std::uint8_t, 6> bytes, std::uint32_t word = 0) {
    qmr::InstallLink({});
    qmr::Link().StatusBytes = bytes;
    qmr::Link().StatusWord = word;
    qmr::test::TestSeam script;
    std::set<QString> ticked;
    script.OnNextModal([&](QDialog& form) {
        for (const QCheckBox* box : form.findChildren<QCheckBox*>())
            if (box->isChecked()) ticked.insert(box->objectName());
    });
    qmr::ui::ShowModal(dlg);
    return ticked;
}

struct BitsCase {
    const char* name;
    std::array<std::uint8_t, 6> bytes;
    std::uint32_t word;
    std::set<QString> init;  // ticked in the initialisation utility
    std::set<QString> test;  // ticked in the test utility
};

class StatusBits : public ::testing::TestWithParam<BitsCase> {};

TEST_P(StatusBits, TickExactlyTheBoxesOfTheRawBytes) {
    const BitsCase& c = GetParam();
    TStatusDlg init(LinkVariant::InitUtility);
    TStatusDlg test(LinkVariant::TestUtility);
    EXPECT_EQ(TickedAfterShowing(init, c.bytes, c.word), c.init);
    EXPECT_EQ(TickedAfterShowing(test, c.bytes, c.word), c.test);
}

const std::set<QString> AllInit = {
    "Status00", "Status01", "Status02", "Status03", "Status05", "Status10", "Status11", "Status14", "Status15",
    "Status20", "Status21", "Status22", "Status23", "Status24", "Status25", "Status40", "Status42", "Status43",
    "Status44", "Status45", "Status50", "Status51", "Status53", "Status54", "Status55"};

std::set<QString> Without(std::set<QString> names, const QString& name) {
    names.erase(name);
    return names;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StatusBits,
    ::testing::Values(
        BitsCase{"NoBitSet", {0x80, 0x80, 0x80, 0x80, 0x80, 0x80}, 0, {}, {}},
        BitsCase{"SyntaxError", {0x81, 0x80, 0x80, 0x80, 0x80, 0x80}, qmr::swSyntaxError, {"Status00"}, {"Status00"}},
        BitsCase{"BitsOfTheFirstBytes", {0x21, 0x02, 0x09, 0, 0, 0}, 0,
                 {"Status00", "Status05", "Status11", "Status20", "Status23"},
                 {"Status00", "Status05", "Status11", "Status20", "Status23"}},
        // 4.2 has a box only in the initialisation utility; 5.5 in both.
        BitsCase{"BoxOnlyInTheInitUtility", {0, 0, 0, 0, 0x04, 0x20}, 0, {"Status42", "Status55"}, {"Status55"}},
        BitsCase{"BitsOfTheLastBytes", {0, 0, 0, 0, 0x3D, 0x3B}, 0,
                 {"Status40", "Status42", "Status43", "Status44", "Status45", "Status50", "Status51", "Status53",
                  "Status54", "Status55"},
                 {"Status40", "Status43", "Status44", "Status45", "Status50", "Status51", "Status53", "Status54",
                  "Status55"}},
        // Bits without a box: all of byte 3, 0.4, 1.2, 1.3, 4.1, 5.2 and bits 6 and 7.
        BitsCase{"BitsWithoutABox", {0xD0, 0xCC, 0xC0, 0xFF, 0xC2, 0xC4},
                 qmr::swStatus12 | qmr::swStatus52 | qmr::swPortClosed, {}, {}},
        BitsCase{"EveryBitSet", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 0, AllInit, Without(AllInit, "Status42")},
        // The link boxes follow the status word, not the bytes.
        BitsCase{"NoResponse", {0, 0, 0, 0, 0, 0}, qmr::swNoResponse, {"Status_Timeout"}, {"Status_Timeout"}},
        BitsCase{"ProtocolError", {0, 0, 0, 0, 0, 0}, qmr::swProtocolError | qmr::swPaperOut, {"Status_Protocol"},
                 {"Status_Protocol"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TStatusDlg, InitVariantCaptionNamesTheLastCommand) {
    TStatusDlg dlg(LinkVariant::InitUtility);
    EXPECT_EQ(dlg.windowTitle(), "QMR-770 status bits");
    qmr::InstallLink({});
    qmr::Link().LastCommand = 74;
    dlg.FormShow();
    EXPECT_EQ(dlg.windowTitle(), "QMR-770 Status Bits (Command 74)");
    qmr::Link().LastCommand = 255;
    dlg.FormShow();
    EXPECT_EQ(dlg.windowTitle(), "QMR-770 Status Bits (Command 255)");
}

TEST(TStatusDlg, TestVariantDiffersOnlyWhereItShould) {
    TStatusDlg init(LinkVariant::InitUtility);
    TStatusDlg test(LinkVariant::TestUtility);
    qmr::InstallLink({});
    qmr::Link().LastCommand = 74;
    test.FormShow();
    EXPECT_EQ(test.windowTitle(), "Fiscal printer Status bits");
    EXPECT_EQ(test.Status42, nullptr);
    EXPECT_EQ(test.findChild<QCheckBox*>("Status42"), nullptr);
    EXPECT_EQ(test.StatusBoxes().size(), 24u);
    EXPECT_EQ(init.StatusBoxes().size(), 25u);

    const std::pair<QCheckBox* TStatusDlg::*, std::pair<const char*, const char*>> captions[] = {
        {&TStatusDlg::Status15, {"Cover open", "Cover is open"}},
        {&TStatusDlg::Status23, {"Fiscal receipt open", "Fiscal  receipt open"}},
        {&TStatusDlg::Status25, {"Non-fiscal receipt open", "Non fiscal receipt open"}},
        {&TStatusDlg::Status40, {"Fiscal memory write error", "Error writing to fiscal memory"}},
        {&TStatusDlg::Status43, {"Less than 50 free records in FM", "Less than 50 records in FM"}},
        {&TStatusDlg::Status50, {"Fisc. memory is Read Only", "Fiscal memory is Read Only"}},
        {&TStatusDlg::Status53, {"Printer is fiscalized", "Printer is fiscalised"}},
        {&TStatusDlg::Status55, {"Fiscal number set", "Serial number set"}},
        {&TStatusDlg::Status_Timeout, {"No response", "No printer response"}},
        {&TStatusDlg::Status11, {"Command not permited", "Command not permited"}},
    };
    for (const auto& [member, texts] : captions) {
        EXPECT_EQ((init.*member)->text(), texts.first);
        EXPECT_EQ((test.*member)->text(), texts.second);
    }

    const QColor red(255, 0, 0);
    for (QCheckBox* TStatusDlg::*member :
         {&TStatusDlg::Status05, &TStatusDlg::Status45, &TStatusDlg::Status_Timeout, &TStatusDlg::Status_Protocol}) {
        EXPECT_EQ((init.*member)->palette().color(QPalette::WindowText), red);
        EXPECT_NE((test.*member)->palette().color(QPalette::WindowText), red);
    }
    EXPECT_NE(init.Status00->palette().color(QPalette::WindowText), red);
}

TEST(TStatusDlg, EscClosesOnlyTheInitVariant) {
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    TStatusDlg init(LinkVariant::InitUtility);
    init.show();
    QCoreApplication::sendEvent(&init, &esc);
    EXPECT_FALSE(init.isVisible());
    EXPECT_TRUE(init.OkBt->isDefault());

    TStatusDlg test(LinkVariant::TestUtility);
    test.show();
    QCoreApplication::sendEvent(&test, &esc);
    EXPECT_TRUE(test.isVisible());
    EXPECT_FALSE(test.OkBt->isDefault());
    test.OkBt->click();
    EXPECT_FALSE(test.isVisible());
}

TEST(TStatusDlg, ClicksOnStatusBoxesAreUndoneLinkBoxesKeepThemUntilTheRefresh) {
    for (const LinkVariant variant : {LinkVariant::InitUtility, LinkVariant::TestUtility}) {
        TStatusDlg dlg(variant);
        qmr::InstallLink({});
        qmr::Link().StatusBytes = {0, 0, 0x08, 0, 0, 0};  // fiscal receipt open
        dlg.show();
        ASSERT_TRUE(dlg.Status23->isChecked());
        dlg.Status23->click();
        EXPECT_TRUE(dlg.Status23->isChecked());
        dlg.Status00->click();
        EXPECT_FALSE(dlg.Status00->isChecked());

        dlg.Status_Protocol->click();
        EXPECT_TRUE(dlg.Status_Protocol->isChecked());
        dlg.Status00->click();  // a click on a status box refreshes everything
        EXPECT_FALSE(dlg.Status_Protocol->isChecked());
        dlg.hide();
    }
}

TEST(TStatusDlg, BoxesStayInsideTheDialogInTwoColumns) {
    for (const LinkVariant variant : {LinkVariant::InitUtility, LinkVariant::TestUtility}) {
        TStatusDlg dlg(variant);
        const QRect client = dlg.rect();
        std::set<int> columns;
        for (const QWidget* w : dlg.findChildren<QWidget*>()) {
            EXPECT_TRUE(client.contains(w->geometry())) << w->objectName().toStdString();
            if (qobject_cast<const QCheckBox*>(w)) columns.insert(w->x());
        }
        EXPECT_EQ(columns.size(), 2u);
        EXPECT_EQ(qmr::test::ClippedCaptions(dlg), std::vector<std::string>{});
        EXPECT_EQ(qmr::test::OverlappingControls(dlg), std::vector<std::string>{});
        // Left column: Status05 on top, Status50 last above the button.
        EXPECT_LT(dlg.Status05->y(), dlg.Status02->y());
        EXPECT_LT(dlg.Status50->y(), dlg.OkBt->y());
        EXPECT_EQ(dlg.Status05->x(), dlg.OkBt->x());
        EXPECT_EQ(dlg.Status25->y(), dlg.Status05->y());
        EXPECT_LT(dlg.Status43->y(), dlg.Status_Timeout->y());
        EXPECT_LT(dlg.Status_Timeout->y(), dlg.Status_Protocol->y());
    }
}

}  // namespace

namespace {

// Every bound control, clicked: a status box undoes the click (its handler
// shows the status again), Close ends the showing, and a showing runs the
// show handler.
TEST(TStatusDlgBindings, EveryBoundControlRunsItsHandler) {
    for (const LinkVariant variant : {LinkVariant::InitUtility, LinkVariant::TestUtility}) {
        TStatusDlg dlg(variant);
        qmr::InstallLink({});
        qmr::Link().LastCommand = 74;
        qmr::Link().StatusBytes = {0, 0, 0x01, 0, 0, 0};  // paper out
        qmr::test::TestSeam script;
        bool closedByOk = false;
        script.OnNextModal([&](QDialog& form) {
            EXPECT_TRUE(dlg.Status20->isChecked());  // the show handler ran
            for (const auto& status : dlg.StatusBoxes()) {
                const bool before = status.box->isChecked();
                status.box->click();
                EXPECT_EQ(status.box->isChecked(), before) << status.box->objectName().toStdString();
            }
            dlg.OkBt->click();
            closedByOk = !form.isVisible();
        });
        qmr::ui::ShowModal(dlg);
        EXPECT_TRUE(closedByOk);
    }
}

}  // namespace
