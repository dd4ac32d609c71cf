#include "UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <string_view>

#include "Numbers.h"

namespace qmr::ui {

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = new QToolButton(this);
    down_ = new QToolButton(this);
    for (QToolButton* arrow : {up_, down_}) {
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(arrow);
    }
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
}

void UpDown::SetAssociate(QLineEdit* edit) {
    edit_ = edit;
    const QRect at = edit->geometry();
    setGeometry(at.right() + 1, at.top(), 17, at.height());
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::editingFinished, this, [this] { Position(); });
    ShowPosition();
}

void UpDown::SetRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    SetPosition(position_);
}

int UpDown::Position() {
    if (edit_) {
        const std::string text = edit_->text().toStdString();
        std::string_view rest = text;
        if (const auto typed = TakeInt(rest)) position_ = std::clamp(*typed, min_, max_);
        ShowPosition();
    }
    return position_;
}

void UpDown::SetPosition(int position) {
    position_ = std::clamp(position, min_, max_);
    ShowPosition();
}

void UpDown::Step(int by) { SetPosition(Position() + by); }

void UpDown::ShowPosition() {
    const QString shown = QString::number(position_);
    if (edit_ && edit_->text() != shown) edit_->setText(shown);
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace qmr::ui
