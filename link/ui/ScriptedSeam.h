// The seam a test installs in place of Qt's: it records every message box,
// modal showing and file dialog, answers them from the script, and reports
// anything the script did not foresee instead of waiting for a person.
//
// How a test uses it:
//
//     qmr::ui::ScriptedSeam script;                    // installed until it goes out of scope
//     script.onUnscripted = [](const QString& what) { ADD_FAILURE() << what.toStdString(); };
//     script.AnswerNext(qmr::IdYes);                   // the next Yes/No box
//     script.OnNextModal([](QDialog& form) {           // the next modal form, once shown
//         auto& dlg = dynamic_cast<TStatusDlg&>(form);
//         EXPECT_TRUE(dlg.Status00->isChecked());
//         dlg.OkBt->click();                           // or leave it open: the seam closes it
//     });
//     script.PickNextFile("/tmp/x.fpd");               // std::nullopt: the user cancels
//     window.StatusBt->click();
//     EXPECT_EQ(script.messages.size(), 0u);
//
// OK boxes need no script: they are recorded and answered with IdOk.
#pragma once

#include <QPoint>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "Seam.h"

namespace qmr::ui {

struct MessageRecord {
    QString text;
    QString caption;
    int buttons = MbOk;
    int answer = IdOk;
    int defaultAnswer = IdYes;  // the Yes/No box's default button
};

struct ModalRecord {
    QString objectName;
    QString caption;  // as the form's show handler left it
    QPoint pos;       // where the form stood when it was shown
    int result = mrNone;
};

struct FileRecord {
    FileDialog::Kind kind = FileDialog::Kind::Open;
    QString title;
    QString filter;
    std::optional<QString> chosen;
};

class ScriptedSeam : public Seam {
public:
    using ModalAction = std::function<void(QDialog&)>;

    ScriptedSeam();
    ~ScriptedSeam() override;
    ScriptedSeam(const ScriptedSeam&) = delete;
    ScriptedSeam& operator=(const ScriptedSeam&) = delete;

    // The answer to the next Yes/No box (IdYes or IdNo).
    void AnswerNext(int answer);
    // What to do with the next modal form once it is shown.
    void OnNextModal(ModalAction action);
    // The next file dialog's choice; nothing for a cancel.
    void PickNextFile(std::optional<QString> fileName);

    // Texts of the recorded messages, for a quick comparison.
    std::vector<QString> MessageTexts() const;
    // True when every scripted answer, action and file has been used.
    bool ScriptUsedUp() const;

    std::vector<MessageRecord> messages;
    std::vector<ModalRecord> modals;
    std::vector<FileRecord> files;
    // Called for a Yes/No box, modal form or file dialog the script has no
    // answer for. The default aborts the test program with the reason.
    std::function<void(const QString& what)> onUnscripted;

    int Message(const QString& text, const QString& caption, int buttons, int defaultAnswer) override;
    int Modal(QDialog& form) override;
    std::optional<QString> PickFile(const FileDialog& dialog) override;

private:
    void Unscripted(const QString& what);

    std::deque<int> answers_;
    std::deque<ModalAction> modalActions_;
    std::deque<std::optional<QString>> fileChoices_;
    Seam* previous_;
};

}  // namespace qmr::ui
