#include "ScriptedSeam.h"

#include <QDialog>
#include <QtGlobal>

namespace qmr::ui {

ScriptedSeam::ScriptedSeam() : previous_(InstallSeam(this)) {}

ScriptedSeam::~ScriptedSeam() { InstallSeam(previous_); }

void ScriptedSeam::AnswerNext(int answer) { answers_.push_back(answer); }

void ScriptedSeam::OnNextModal(ModalAction action) { modalActions_.push_back(std::move(action)); }

void ScriptedSeam::PickNextFile(std::optional<QString> fileName) { fileChoices_.push_back(std::move(fileName)); }

std::vector<QString> ScriptedSeam::MessageTexts() const {
    std::vector<QString> texts;
    for (const auto& m : messages) texts.push_back(m.text);
    return texts;
}

bool ScriptedSeam::ScriptUsedUp() const {
    return answers_.empty() && modalActions_.empty() && fileChoices_.empty();
}

void ScriptedSeam::Unscripted(const QString& what) {
    if (onUnscripted) {
        onUnscripted(what);
        return;
    }
    qFatal("unscripted %s", qPrintable(what));
}

int ScriptedSeam::Message(const QString& text, const QString& caption, int buttons, int defaultAnswer) {
    MessageRecord record{text, caption, buttons, IdOk, defaultAnswer};
    if (buttons == MbYesNo) {
        if (answers_.empty()) {
            Unscripted("Yes/No box \"" + text + "\" / \"" + caption + '"');
            record.answer = IdNo;  // the answer that never acts
        } else {
            record.answer = answers_.front();
            answers_.pop_front();
        }
    }
    messages.push_back(record);
    return record.answer;
}

int ScriptedSeam::Modal(QDialog& form) {
    // Recorded in the order of showing, also when the action shows another.
    const std::size_t index = modals.size();
    modals.push_back({form.objectName(), {}, form.pos(), mrNone});
    form.setResult(mrNone);
    form.show();  // runs the form's show handler, as a real modal showing does
    modals[index].caption = form.windowTitle();
    if (modalActions_.empty()) {
        Unscripted("modal form " + form.objectName() + " \"" + form.windowTitle() + '"');
    } else {
        const ModalAction action = std::move(modalActions_.front());
        modalActions_.pop_front();
        action(form);
    }
    if (form.isVisible()) form.done(form.result());
    modals[index].result = form.result();
    return form.result();
}

std::optional<QString> ScriptedSeam::PickFile(const FileDialog& dialog) {
    FileRecord record{dialog.kind, dialog.Title, dialog.Filter, std::nullopt};
    if (fileChoices_.empty()) {
        Unscripted("file dialog \"" + dialog.Title + '"');
    } else {
        record.chosen = fileChoices_.front();
        fileChoices_.pop_front();
    }
    files.push_back(record);
    return record.chosen;
}

}  // namespace qmr::ui
