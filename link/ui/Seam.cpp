#include "Seam.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace qmr::ui {

namespace {

class QtSeam final : public Seam {
public:
    int Message(const QString& text, const QString& caption, int buttons) override {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(caption);
        box.setText(text);
        if (buttons == MbYesNo) {
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            // Esc and the close box answer No: only Yes may act.
            box.setEscapeButton(QMessageBox::No);
            return box.exec() == QMessageBox::Yes ? IdYes : IdNo;
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return IdOk;
    }

    int Modal(QDialog& form) override { return form.exec(); }

    std::optional<QString> PickFile(const FileDialog& d) override {
        QFileDialog dialog(QApplication::activeWindow(), d.Title, d.InitialDir);
        const QStringList filters = QtNameFilters(d.Filter);
        if (!filters.isEmpty()) {
            dialog.setNameFilters(filters);
            if (d.FilterIndex > 0 && d.FilterIndex <= filters.size()) dialog.selectNameFilter(filters[d.FilterIndex - 1]);
        }
        if (!d.DefaultExt.isEmpty()) dialog.setDefaultSuffix(d.DefaultExt);
        if (!d.FileName.isEmpty()) dialog.selectFile(d.FileName);
        if (d.kind == FileDialog::Kind::Save) {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            if (!d.OverwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
        } else {
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(d.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return dialog.selectedFiles().first();
    }
};

QtSeam qtSeam;
Seam* current = &qtSeam;

}  // namespace

QStringList QtNameFilters(const QString& filter) {
    QStringList result;
    const QStringList parts = filter.split('|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        // "Bitmaps (*.bmp)" already names its patterns; matching ignores case.
        if (description.endsWith('(' + patterns + ')', Qt::CaseInsensitive))
            result << description;
        else
            result << description + " (" + patterns + ')';
    }
    return result;
}

QString WithDefaultExt(const QString& fileName, const QString& defaultExt) {
    if (defaultExt.isEmpty() || fileName.isEmpty() || !QFileInfo(fileName).suffix().isEmpty()) return fileName;
    return fileName + '.' + defaultExt;
}

bool FileDialog::Execute() {
    const std::optional<QString> chosen = CurrentSeam().PickFile(*this);
    if (!chosen) return false;
    FileName = WithDefaultExt(*chosen, DefaultExt);
    return true;
}

Seam& CurrentSeam() { return *current; }

Seam* InstallSeam(Seam* seam) {
    Seam* previous = current;
    current = seam ? seam : &qtSeam;
    return previous == &qtSeam ? nullptr : previous;
}

int MessageBox(const QString& text, const QString& caption, int buttons) {
    return CurrentSeam().Message(text, caption, buttons);
}

int ShowModal(QDialog& form) { return CurrentSeam().Modal(form); }

}  // namespace qmr::ui
