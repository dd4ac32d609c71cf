// The one door through which the programs put up anything modal: message
// boxes, modal forms and file dialogs. In the programs the door opens onto Qt
// (QMessageBox, QDialog::exec, QFileDialog); a test installs a ScriptedSeam
// (ScriptedSeam.h) that answers every one of them, so no test ever waits for
// a person.
//
// How a form uses it:
//
//     if (qmr::ui::MessageBox("Overwrite the file?", "Warning", qmr::MbYesNo) == qmr::IdYes) ...
//     // a step that cannot be undone: Return (the default button) answers No
//     if (qmr::ui::MessageBox("Erase it for good?", "Warning", qmr::MbYesNo, qmr::IdNo) == qmr::IdYes) ...
//     qmr::ui::ShowModal(*StatusDlg);                // the form's modal result
//
//     OpenFileDlg.DefaultExt = "fpd";                 // a FileDialog member of the form
//     OpenFileDlg.Filter = "Printer data (*.fpd)|*.fpd";
//     if (OpenFileDlg.Execute()) LoadFrom(OpenFileDlg.FileName);
//
// Never call QMessageBox, QDialog::exec or QFileDialog directly: what does not
// pass here cannot be scripted, and a test that meets it would hang.
#pragma once

#include <QString>
#include <optional>

#include "LinkState.h"

class QDialog;

namespace qmr::ui {

// Modal results; Cancel is 2, not Qt's 0, as the programs' callers expect.
enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

// A file-open or file-save dialog as a form keeps it: its settings are set
// before each use, and FileName holds the chosen file afterwards.
struct FileDialog {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QString Title;
    // Pairs of description and pattern joined by '|': "Bitmaps (*.bmp)|*.bmp".
    QString Filter;
    int FilterIndex = 0;
    QString DefaultExt;  // without the point; added to a typed name that has none
    QString FileName;
    QString InitialDir;
    bool FileMustExist = false;
    bool OverwritePrompt = false;

    // Shows the dialog through the seam; true when a file was chosen.
    bool Execute();
};

// Width a message box keeps beside its caption's text for the title bar's
// icon and buttons.
inline constexpr int CaptionFrameWidth = 120;

// The Qt name filters of a FileDialog's Filter ("Bitmaps (*.bmp)" ...).
QStringList QtNameFilters(const QString& filter);
// The chosen name with DefaultExt added when it has no extension.
QString WithDefaultExt(const QString& fileName, const QString& defaultExt);

class Seam {
public:
    virtual ~Seam() = default;
    // Returns IdOk, IdYes or IdNo. defaultAnswer (IdYes or IdNo) is the
    // Yes/No box's default button, the one Return presses.
    virtual int Message(const QString& text, const QString& caption, int buttons, int defaultAnswer) = 0;
    // Shows the form modally (its show handler runs) and returns its modal result.
    virtual int Modal(QDialog& form) = 0;
    // The chosen file, or nothing when the user cancelled.
    virtual std::optional<QString> PickFile(const FileDialog& dialog) = 0;
};

// The seam in force: the one installed last, or Qt's.
Seam& CurrentSeam();
// Installs a seam (nullptr puts Qt's back); returns the one it replaces.
Seam* InstallSeam(Seam* seam);

// The message box of the programs: MbOk or MbYesNo; returns IdOk, IdYes or IdNo.
// A question whose Yes cannot be undone passes IdNo as its default answer, so
// that a Return pressed out of habit does not take the step.
int MessageBox(const QString& text, const QString& caption, int buttons = MbOk, int defaultAnswer = IdYes);
// Modal showing of a form; returns its modal result.
int ShowModal(QDialog& form);

}  // namespace qmr::ui
