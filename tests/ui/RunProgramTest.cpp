// Start-up runs its own application object each time, so these tests have a
// main of their own.
#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>
#include <cstdlib>

#include "Application.h"
#include "UiTestSupport.h"

namespace {

char arg0[] = "prendix";
char* argv[] = {arg0, nullptr};

TEST(RunProgram, ShowsAnExceptionOfStartUpAndReturnsZero) {
    qmr::test::TestSeam script;
    const int result = qmr::ui::RunProgram(1, argv, "Prendix", []() -> QWidget* {
        EXPECT_EQ(QApplication::applicationName(), "Prendix");
        throw std::runtime_error("Can't create the forms");
    });
    EXPECT_EQ(result, 0);
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, "Can't create the forms");
    EXPECT_EQ(script.messages[0].caption, "Prendix");
}

TEST(RunProgram, ShowsTheMainWindowAndGoesOnAfterAHandlerThrows) {
    qmr::test::TestSeam script;
    bool shown = false;
    const int result = qmr::ui::RunProgram(1, argv, "Prendix", [&] {
        auto* window = new QWidget;
        QTimer::singleShot(0, window, [&shown, window] {
            shown = window->isVisible();
            throw std::runtime_error("Out of paper");
        });
        QTimer::singleShot(10, window, [window] { window->close(); });
        return window;
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(shown);
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Out of paper"});
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
