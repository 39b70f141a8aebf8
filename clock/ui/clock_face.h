#pragma once
// The clock's display panel: six digit images, two colons, the date and the extended
// label. It is told the whole face four times a second and touches only what changed,
// so a running clock costs next to nothing.
// (clock/face.h is not included here: moc cannot read the <compare> it pulls in.)
#include "clock/ui/digit_images.h"

#include <QFrame>

#include <array>
#include <memory>

class QLabel;

namespace zw {

struct FaceState;
class DigitImageView;

class ClockFace : public QFrame {
    Q_OBJECT
public:
    explicit ClockFace(QWidget* parent = nullptr);
    ~ClockFace() override;

    void apply(const FaceState& state);
    // Switching the extended display off empties its label at once.
    void clearExtended();

    // The device pixel ratio the images are drawn for.
    qreal imageDevicePixelRatio() const { return images_->devicePixelRatio(); }

signals:
    // A double-click with the left button on the panel, an image or a label.
    void doubleClicked();
    // A right-click (or the menu key) on the panel, an image or a label.
    void contextMenuRequested(const QPoint& globalPos);

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void followDevicePixelRatio();
    void showImages(const FaceState& state, bool all);
    void setLabelText(QLabel* label, const QString& text);
    void placeLabel(QLabel* label);

    std::unique_ptr<DigitImageSet> images_;
    std::array<DigitImageView*, 6> digits_{};
    std::array<DigitImageView*, 2> colons_{};
    QLabel* date_ = nullptr;
    QLabel* extended_ = nullptr;
    std::unique_ptr<FaceState> shown_; // what the controls show; none before the first apply
};

} // namespace zw
