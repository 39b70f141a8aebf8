#include "widgets/explorer_button.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QStyle>

#include <algorithm>

namespace zw {

namespace {
constexpr int kDefaultWidth = 50;
constexpr int kDefaultHeight = 40;
// The caption is measured within the width less this, and kept this far from the edges.
constexpr int kCaptionMargin = 4;
constexpr int kEdgeGap = 3;
constexpr int kPictureCaptionGap = 2;
// Room the drop-down arrow takes beside the picture.
constexpr int kPopupMarkRoom = 10;
constexpr int kPopupMarkGap = 3;

QPixmap transparentPixmap(const QImage& picture)
{
    return picture.isNull() ? QPixmap() : QPixmap::fromImage(withTransparentColour(picture, backgroundOf(picture)));
}

// A one-pixel frame: raised shows the light on its top and left edges.
void drawFrame(QPainter& painter, const QRect& rect, const QPalette& palette, bool raised)
{
    const QColor light = palette.color(QPalette::Light);
    const QColor dark = palette.color(QPalette::Dark);
    const QRect edge = rect.adjusted(0, 0, -1, -1);
    painter.setPen(raised ? light : dark);
    painter.drawLine(edge.topLeft(), edge.topRight());
    painter.drawLine(edge.topLeft(), edge.bottomLeft());
    painter.setPen(raised ? dark : light);
    painter.drawLine(edge.bottomLeft(), edge.bottomRight());
    painter.drawLine(edge.topRight(), edge.bottomRight());
}
} // namespace

QString withoutAccessMarks(const QString& caption)
{
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}

ExplorerButton::ExplorerButton(QWidget* parent) : QAbstractButton(parent)
{
    unselectedFontColor_ = palette().color(QPalette::WindowText);
    setMouseTracking(true);
    // A picture button draws on its parent and takes no focus; the keyboard reaches its
    // command through the owner's menu and keys.
    setFocusPolicy(Qt::NoFocus);
    resize(kDefaultWidth, kDefaultHeight);
}

ExplorerButton::~ExplorerButton() = default;

QSize ExplorerButton::sizeHint() const
{
    return {kDefaultWidth, kDefaultHeight};
}

void ExplorerButton::setCaption(const QString& caption)
{
    setText(caption);
    setAccessibleName(withoutAccessMarks(caption));
    if (options_ & IconOnly)
        setToolTip(withoutAccessMarks(caption));
    update();
}

void ExplorerButton::setBitmap(const QImage& picture)
{
    bitmap_ = picture;
    rebuildPictures();
}

void ExplorerButton::setNoFocusBitmap(const QImage& picture)
{
    noFocusBitmap_ = picture;
    rebuildPictures();
}

void ExplorerButton::setDisabledBitmap(const QImage& picture)
{
    disabledBitmap_ = picture;
    rebuildPictures();
}

void ExplorerButton::setShadingType(ShadingType shading)
{
    if (shading == shadingType_)
        return;
    shadingType_ = shading;
    rebuildPictures();
}

void ExplorerButton::rebuildPictures()
{
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    colourPicture_ = transparentPixmap(bitmap_);
    monoPicture_ = !noFocusBitmap_.isNull() ? transparentPixmap(noFocusBitmap_)
                                            : transparentPixmap(greyPicture(bitmap_, shadingType_, light, dark));
    disabledPicture_ = !disabledBitmap_.isNull() ? transparentPixmap(disabledBitmap_)
                                                 : QPixmap::fromImage(embossedPicture(bitmap_, light, dark));
    update();
}

void ExplorerButton::setOptions(Options options)
{
    options_ = options;
    update();
}

void ExplorerButton::setBitmapLayout(BitmapLayout layout)
{
    layout_ = layout;
    update();
}

void ExplorerButton::setAlignment(Qt::Alignment alignment)
{
    alignment_ = alignment & Qt::AlignHorizontal_Mask;
    update();
}

void ExplorerButton::setWordWrap(bool on)
{
    wordWrap_ = on;
    update();
}

void ExplorerButton::setBevelStyle(BevelStyle style)
{
    bevelStyle_ = style;
    update();
}

void ExplorerButton::setUnselectedFontColor(const QColor& color)
{
    unselectedFontColor_ = color;
    update();
}

// --- latching -----------------------------------------------------------------------

std::vector<ExplorerButton*> ExplorerButton::groupMates() const
{
    std::vector<ExplorerButton*> mates;
    if (groupIndex_ == 0 || parentWidget() == nullptr)
        return mates;
    for (ExplorerButton* other : parentWidget()->findChildren<ExplorerButton*>(Qt::FindDirectChildrenOnly)) {
        if (other != this && other->groupIndex_ == groupIndex_)
            mates.push_back(other);
    }
    return mates;
}

void ExplorerButton::setGroupIndex(int index)
{
    groupIndex_ = index;
    // Only a member of a group can stay down; leaving the group brings it up.
    setCheckable(index != 0);
    update();
}

void ExplorerButton::setAllowAllUp(bool on)
{
    allowAllUp_ = on;
    for (ExplorerButton* mate : groupMates())
        mate->allowAllUp_ = on;
}

void ExplorerButton::setShowDownPattern(bool on)
{
    showDownPattern_ = on;
    update();
}

void ExplorerButton::checkStateSet()
{
    if (isChecked()) {
        for (ExplorerButton* mate : groupMates())
            mate->setChecked(false);
    }
    update();
}

void ExplorerButton::nextCheckState()
{
    if (!isChecked())
        setChecked(true);
    else if (allowAllUp_)
        setChecked(false);
}

// --- mouse, keys and the drop-down menu ---------------------------------------------

QMenu* ExplorerButton::dropDownMenu() const
{
    return menu_;
}

void ExplorerButton::setDropDownMenu(QMenu* menu)
{
    if (menu_)
        disconnect(menu_, nullptr, this, nullptr);
    menu_ = menu;
    if (menu_) {
        connect(menu_, &QMenu::aboutToHide, this, [this] {
            setDown(false);
            setHot(rect().contains(mapFromGlobal(QCursor::pos())));
            update();
        });
    }
    update();
}

void ExplorerButton::showDropDown()
{
    setDown(true);
    setHot(true);
    repaint();
    menu_->popup(mapToGlobal(QPoint(0, height())));
}

void ExplorerButton::setHot(bool hot)
{
    if (hot == hot_)
        return;
    hot_ = hot;
    update();
}

void ExplorerButton::enterEvent(QEnterEvent* event)
{
    setHot(true);
    QAbstractButton::enterEvent(event);
}

void ExplorerButton::leaveEvent(QEvent* event)
{
    setHot(false);
    QAbstractButton::leaveEvent(event);
}

void ExplorerButton::mouseMoveEvent(QMouseEvent* event)
{
    setHot(rect().contains(event->position().toPoint()));
    QAbstractButton::mouseMoveEvent(event);
}

void ExplorerButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && menu_) {
        showDropDown();
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton)
        setHot(true);
    QAbstractButton::mousePressEvent(event);
}

void ExplorerButton::keyPressEvent(QKeyEvent* event)
{
    if (menu_ && (event->key() == Qt::Key_Space || event->key() == Qt::Key_Down)) {
        showDropDown();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

bool ExplorerButton::event(QEvent* event)
{
    // The access key of a button with a menu drops the menu, as a press would.
    if (event->type() == QEvent::Shortcut && menu_ && isEnabled()) {
        showDropDown();
        return true;
    }
    return QAbstractButton::event(event);
}

void ExplorerButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        setHot(false);
        setDown(false);
    } else if (event->type() == QEvent::PaletteChange) {
        rebuildPictures();
    }
    QAbstractButton::changeEvent(event);
}

// --- drawing ------------------------------------------------------------------------

ExplorerButton::Placement ExplorerButton::place(QSize picture, int textFlags) const
{
    const bool showCaption = !(options_ & IconOnly) && !text().isEmpty();
    const int room = width() - kCaptionMargin;
    QSize caption = showCaption ? fontMetrics().boundingRect(QRect(0, 0, room, height()), textFlags, text()).size()
                                : QSize();
    caption.setWidth(std::min(caption.width(), room)); // longer captions end in an ellipsis
    const int gap = showCaption && !picture.isEmpty() ? kPictureCaptionGap : 0;
    const auto alignedX = [this](int extent) {
        if (alignment_ & Qt::AlignLeft)
            return kEdgeGap;
        if (alignment_ & Qt::AlignRight)
            return width() - kEdgeGap - extent;
        return (width() - extent) / 2;
    };

    Placement result;
    if (layout_ == BitmapLayout::Top || layout_ == BitmapLayout::Bottom) {
        const int top = (height() - picture.height() - gap - caption.height()) / 2;
        const bool pictureFirst = layout_ == BitmapLayout::Top;
        result.picture = {alignedX(picture.width()), pictureFirst ? top : top + caption.height() + gap};
        result.caption = QRect(QPoint(alignedX(caption.width()), pictureFirst ? top + picture.height() + gap : top),
                               caption);
        return result;
    }
    const int captionWidth =
        std::max(0, std::min(caption.width(), width() - kCaptionMargin - picture.width() - gap));
    const int left = alignedX(picture.width() + gap + captionWidth);
    const bool pictureFirst = layout_ == BitmapLayout::Left;
    result.picture = {pictureFirst ? left : left + captionWidth + gap, (height() - picture.height()) / 2};
    result.caption = QRect(pictureFirst ? left + picture.width() + gap : left, (height() - caption.height()) / 2,
                           captionWidth, caption.height());
    return result;
}

void ExplorerButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool latched = isChecked();
    const bool withMark = (options_ & PopupMark) && menu_;
    const int textFlags =
        Qt::TextShowMnemonic | (wordWrap_ ? Qt::TextWordWrap : Qt::TextSingleLine) | static_cast<int>(alignment_);

    if (latched && showDownPattern_) {
        painter.fillRect(rect(), palette().color(QPalette::Button));
        painter.fillRect(rect(), QBrush(palette().color(QPalette::Light), Qt::Dense4Pattern));
    }

    // All three pictures have the colour picture's size; the arrow needs room beside it.
    QSize pictureSize = colourPicture_.deviceIndependentSize().toSize();
    if (withMark)
        pictureSize.rwidth() += kPopupMarkRoom;
    const Placement at = place(pictureSize, textFlags);
    const QString caption = (options_ & IconOnly) ? QString() : text();
    const auto drawCaption = [&](QPoint offset, const QColor& color) {
        if (caption.isEmpty())
            return;
        painter.setPen(color);
        const QRect box = at.caption.translated(offset);
        const QString shown = wordWrap_ ? caption
                                        : fontMetrics().elidedText(caption, Qt::ElideRight, box.width(),
                                                                   Qt::TextShowMnemonic);
        painter.drawText(box, textFlags, shown);
    };

    if (!isEnabled()) {
        if (latched)
            drawFrame(painter, rect(), palette(), false);
        painter.drawPixmap(at.picture, disabledPicture_);
        drawCaption({1, 1}, palette().color(QPalette::Light));
        drawCaption({0, 0}, palette().color(QPalette::Dark));
        return;
    }

    const bool raisedBevel = bevelStyle_ == BevelStyle::Raised;
    const bool sunken = isDown() || latched;
    QColor captionColor = palette().color(QPalette::ButtonText);
    if (sunken) {
        drawFrame(painter, rect(), palette(), !raisedBevel);
        drawCaption(raisedBevel ? QPoint(1, 1) : QPoint(), captionColor);
        painter.drawPixmap(at.picture + QPoint(1, 1), colourPicture_);
    } else {
        if (hot_)
            drawFrame(painter, rect(), palette(), raisedBevel);
        else
            captionColor = unselectedFontColor_;
        drawCaption(raisedBevel ? QPoint() : QPoint(1, 1), captionColor);
        const bool colour = hot_ || !(options_ & MonoDisplay);
        painter.drawPixmap(at.picture, colour ? colourPicture_ : monoPicture_);
    }

    if (withMark) {
        // Rows of 7, 5, 3 and 1 pixels, level with the middle of the picture.
        const QSize real = colourPicture_.deviceIndependentSize().toSize();
        const QPoint origin = at.picture + QPoint(real.width() + kPopupMarkGap, real.height() / 2) +
                              (sunken ? QPoint(1, 1) : QPoint());
        painter.setPen(Qt::NoPen);
        painter.setBrush(captionColor);
        for (int row = 0; row < 4; ++row)
            painter.drawRect(origin.x() + row, origin.y() + row, 7 - 2 * row, 1);
    }
}

} // namespace zw
