#pragma once
// An up-down control: two arrow buttons that step the number of the field it serves.
// The arrows never take the focus, so the field keeps it while they are clicked.
#include <QWidget>

class QToolButton;

namespace zw {

class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    QToolButton* upArrow() const { return up_; }
    QToolButton* downArrow() const { return down_; }

signals:
    // +1 for the upper arrow, -1 for the lower.
    void stepped(int steps);

private:
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace zw
