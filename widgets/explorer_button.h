#pragma once
// A flat button with a picture and a caption: no frame until the mouse is over it
// (raised), sunken while pressed. While the mouse is elsewhere it shows a grey picture,
// generated from the colour one unless a picture for that is given. Buttons of one
// parent that share a group index latch: one stays down (checked) until another goes down.
#include "widgets/picture_effects.h"

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPointer>

#include <vector>

class QMenu;

namespace zw {

class ExplorerButton : public QAbstractButton {
    Q_OBJECT
public:
    enum Option {
        MonoDisplay = 0x1, // the grey picture while the mouse is elsewhere
        IconOnly = 0x2,    // no caption drawn; the caption becomes the tooltip
        PopupMark = 0x4,   // a small arrow beside the picture when a drop-down menu is set
    };
    Q_DECLARE_FLAGS(Options, Option)
    enum class BitmapLayout { Top, Bottom, Left, Right }; // the picture's place by the caption
    enum class BevelStyle { Raised, Lowered };           // the frame while hot; pressed is the reverse

    explicit ExplorerButton(QWidget* parent = nullptr);
    ~ExplorerButton() override;

    // "&" marks the access key (Alt + letter presses the button), "&&" is one "&".
    QString caption() const { return text(); }
    void setCaption(const QString& caption);

    // Pictures are drawn transparent: their top-left pixel's colour shows the background.
    QImage bitmap() const { return bitmap_; }
    void setBitmap(const QImage& picture);
    QImage noFocusBitmap() const { return noFocusBitmap_; }
    void setNoFocusBitmap(const QImage& picture);
    // Without one, a disabled button shows the engraved form of bitmap().
    QImage disabledBitmap() const { return disabledBitmap_; }
    void setDisabledBitmap(const QImage& picture);

    Options options() const { return options_; }
    void setOptions(Options options);
    BitmapLayout bitmapLayout() const { return layout_; }
    void setBitmapLayout(BitmapLayout layout);
    // Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter.
    Qt::Alignment alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment alignment);
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool on);
    BevelStyle bevelStyle() const { return bevelStyle_; }
    void setBevelStyle(BevelStyle style);
    ShadingType shadingType() const { return shadingType_; }
    void setShadingType(ShadingType shading);
    QColor unselectedFontColor() const { return unselectedFontColor_; }
    void setUnselectedFontColor(const QColor& color);

    // Down is the checked state; a button can latch only with a group index other than 0.
    int groupIndex() const { return groupIndex_; }
    void setGroupIndex(int index);
    // Whether a down button comes up when clicked again; shared by the whole group.
    bool allowAllUp() const { return allowAllUp_; }
    void setAllowAllUp(bool on);
    bool showDownPattern() const { return showDownPattern_; }
    void setShowDownPattern(bool on);

    // Pressing the button drops the menu down below it instead of clicking.
    QMenu* dropDownMenu() const;
    void setDropDownMenu(QMenu* menu);

    // The mouse pointer is over the button.
    bool isHot() const { return hot_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void checkStateSet() override;
    void nextCheckState() override;

private:
    struct Placement {
        QPoint picture;
        QRect caption;
    };
    Placement place(QSize picture, int textFlags) const;
    void rebuildPictures();
    void setHot(bool hot);
    void showDropDown();
    std::vector<ExplorerButton*> groupMates() const;

    QImage bitmap_;
    QImage noFocusBitmap_;
    QImage disabledBitmap_;
    // As drawn: transparent where the picture shows the background.
    QPixmap colourPicture_;
    QPixmap monoPicture_;
    QPixmap disabledPicture_;

    Options options_ = Options(MonoDisplay | PopupMark);
    BitmapLayout layout_ = BitmapLayout::Top;
    Qt::Alignment alignment_ = Qt::AlignHCenter;
    bool wordWrap_ = false;
    BevelStyle bevelStyle_ = BevelStyle::Raised;
    ShadingType shadingType_ = ShadingType::Medium;
    QColor unselectedFontColor_;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool showDownPattern_ = true;
    QPointer<QMenu> menu_;
    bool hot_ = false;
};

// The caption as read aloud or shown as a tooltip: "&" marks removed, "&&" as "&".
QString withoutAccessMarks(const QString& caption);

} // namespace zw

Q_DECLARE_OPERATORS_FOR_FLAGS(zw::ExplorerButton::Options)
