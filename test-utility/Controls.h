// Edits Qt lacks: one that says when it is double-clicked (the Sum field
// fills in the amount still due that way), and one that shows the whole of
// a long text (the console's answer).
#pragma once

#include <QLineEdit>

#include "Edits.h"

namespace vextora {

class DblClickEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DblClickEdit(QWidget* parent = nullptr);

signals:
    void DblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A read-only edit in a fixed-pitch font that breaks its text over as many
// lines as it has, anywhere in the text, so a reply shows whole.
class WrappingEdit : public qmr::ui::PlainTextEdit {
    Q_OBJECT
public:
    explicit WrappingEdit(QWidget* parent = nullptr);

    QString text() const { return qmr::ui::PlainTextOf(*this); }
    void setText(const QString& text) { setPlainText(text); }
    // The height at which `characters` characters show whole at this width.
    int HeightFor(int characters, int width) const;
};

}  // namespace vextora
