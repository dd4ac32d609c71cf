// An up-down control attached to an edit, which shows its position: the
// arrows (and the Up and Down keys in the edit) step the position within
// Min..Max without wrapping, and a number typed into the edit becomes the
// position, held within the range. A text that is no number leaves the last
// position. Whatever the edit holds, Position stays within the range, and
// the edit is made to show it.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace qmr::ui {

class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    // Stands at the edit's right, as tall as it is, and shows the position in it.
    void SetAssociate(QLineEdit* edit);
    void SetRange(int min, int max);
    int Min() const { return min_; }
    int Max() const { return max_; }

    // The position after taking in what the edit holds.
    int Position();
    void SetPosition(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Step(int by);
    void ShowPosition();

    QLineEdit* edit_ = nullptr;
    QToolButton* up_;
    QToolButton* down_;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
};

}  // namespace qmr::ui
