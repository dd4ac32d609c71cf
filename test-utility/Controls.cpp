#include "Controls.h"

namespace vextora {

DblClickEdit::DblClickEdit(QWidget* parent) : QLineEdit(parent) {}

void DblClickEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    QLineEdit::mouseDoubleClickEvent(event);
    emit DblClick();
}

}  // namespace vextora
