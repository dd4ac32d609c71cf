// An edit that says when it is double-clicked (the Sum field fills in the
// amount still due that way).
#pragma once

#include <QLineEdit>

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

}  // namespace vextora
