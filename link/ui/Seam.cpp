#include "Seam.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>

namespace qmr::ui {

namespace {

// Ends a modal showing's loop when its form is hidden or goes.
class HideWatch final : public QObject {
public:
    HideWatch(QDialog& form, QEventLoop& loop) : form_(&form), loop_(loop) {
        form.installEventFilter(this);
        connect(&form, &QObject::destroyed, &loop, &QEventLoop::quit);
    }
    ~HideWatch() override {
        if (form_) form_->removeEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide && form_ && !form_->isVisible()) loop_.quit();
        return false;
    }

private:
    QPointer<QDialog> form_;
    QEventLoop& loop_;
};

class QtSeam final : public Seam {
    // Some desktop styles put a theme icon on each standard button; the
    // programs' boxes carry their captions only.
    static void PlainButtons(QMessageBox& box) {
        for (QAbstractButton* button : box.buttons()) button->setIcon(QIcon());
    }
    // A message box must show its whole caption; Qt's takes the width of its
    // text alone, so the window manager cuts a caption such as "Fiscal
    // receipt is open" over "Void is possible." to "Fisca... open".
    // Room is left for the title bar's icon and its three buttons.
    static void FitCaption(QMessageBox& box) {
        auto* grid = qobject_cast<QGridLayout*>(box.layout());
        if (!grid) return;
        const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) + CaptionFrameWidth;
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
    }

public:
    int Message(const QString& text, const QString& caption, int buttons, int defaultAnswer) override {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(caption);
        box.setText(text);
        if (buttons == MbYesNo) {
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(defaultAnswer == IdNo ? QMessageBox::No : QMessageBox::Yes);
            // Esc and the close box answer No: only Yes may act.
            box.setEscapeButton(QMessageBox::No);
            PlainButtons(box);
            FitCaption(box);
            return box.exec() == QMessageBox::Yes ? IdYes : IdNo;
        }
        box.setStandardButtons(QMessageBox::Ok);
        PlainButtons(box);
        FitCaption(box);
        box.exec();
        return IdOk;
    }

    // Each showing waits in a loop of its own until the form is hidden. A
    // dialog's own exec() refuses a second showing while the first one has
    // not returned (its loop still waits under whatever runs on top of it,
    // even once the form is hidden), so the form would stay away for good.
    int Modal(QDialog& form) override {
        QEventLoop loop;
        HideWatch watch(form, loop);
        if (!form.isVisible()) {
            form.setAttribute(Qt::WA_ShowModal, true);
            form.setResult(0);
            form.show();
        }
        form.raise();
        form.activateWindow();
        if (form.isVisible()) loop.exec(QEventLoop::DialogExec);
        return form.result();
    }

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

int MessageBox(const QString& text, const QString& caption, int buttons, int defaultAnswer) {
    return CurrentSeam().Message(text, caption, buttons, defaultAnswer);
}

int ShowModal(QDialog& form) { return CurrentSeam().Modal(form); }

}  // namespace qmr::ui
