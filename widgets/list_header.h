#pragma once
// The header strip: as high as the list says (0 hides it) and telling the list when the
// user lets go of a section boundary.
#include <QHeaderView>
#include <QMouseEvent>

#include <functional>
#include <utility>

namespace zw {

class ListHeader : public QHeaderView {
public:
    explicit ListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

    void setStripHeight(int height)
    {
        stripHeight_ = height;
        updateGeometry();
    }
    bool dragging() const { return pressed_; }
    std::function<void()> released;

    QSize sizeHint() const override { return {QHeaderView::sizeHint().width(), stripHeight_}; }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        pressed_ = event->button() == Qt::LeftButton;
        QHeaderView::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QHeaderView::mouseReleaseEvent(event);
        if (std::exchange(pressed_, false) && released)
            released();
    }

private:
    int stripHeight_ = 18;
    bool pressed_ = false;
};

} // namespace zw
