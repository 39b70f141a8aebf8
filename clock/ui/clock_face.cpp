#include "clock/ui/clock_face.h"

#include "clock/face.h"

#include <QContextMenuEvent>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QWidget>

namespace zw {

// One digit or colon image. It paints its pixmap and nothing else; a colon control is
// narrower than the image and shows only its left columns.
class DigitImageView final : public QWidget {
public:
    DigitImageView(const char* name, int x, int width, QWidget* parent)
        : QWidget(parent)
    {
        setObjectName(QString::fromLatin1(name));
        setGeometry(x, 6, width, kDigitImageHeight);
        // Opaque: a new image repaints this control alone, not the panel behind it.
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    void setPixmap(const QPixmap& pixmap)
    {
        pixmap_ = pixmap;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawPixmap(0, 0, pixmap_);
    }

private:
    QPixmap pixmap_;
};

namespace {

constexpr int kLabelTop = 33;
constexpr int kLabelHeight = 13;
constexpr int kDateRightEdge = 115;
constexpr int kExtendedLeft = 6;

QColor toQColor(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

void setRoleColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// The clock's small sans face, 11 pixels high.
QFont faceFont()
{
    QFont font;
    // Narrow faces first: the date and the extended label share one 109-pixel row.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QLabel* makeLabel(const char* name, Qt::Alignment alignment, const QColor& colour, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(alignment | Qt::AlignTop);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setAutoFillBackground(false);
    setRoleColour(label, QPalette::WindowText, colour);
    return label;
}

} // namespace

ClockFace::ClockFace(QWidget* parent)
    : QFrame(parent)
    , images_(std::make_unique<DigitImageSet>(devicePixelRatioF()))
{
    setObjectName(QStringLiteral("Panel1"));
    setGeometry(7, 6, 123, 48);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAutoFillBackground(true);
    setRoleColour(this, QPalette::Window, Qt::black);
    setFont(faceFont());

    static constexpr const char* digitNames[] = {"Image1", "Image2", "Image3",
                                                 "Image4", "Image5", "Image6"};
    static constexpr int digitX[] = {6, 22, 45, 61, 84, 100};
    for (std::size_t i = 0; i < digits_.size(); ++i)
        digits_[i] = new DigitImageView(digitNames[i], digitX[i], kDigitImageWidth, this);
    colons_[0] = new DigitImageView("Image7", 40, 3, this);
    colons_[1] = new DigitImageView("Image8", 79, 3, this);

    date_ = makeLabel("Label1", Qt::AlignRight, Qt::black, this);
    extended_ = makeLabel("Label2", Qt::AlignLeft, QColor(0, 255, 0), this);
    placeLabel(date_);
    placeLabel(extended_);
}

ClockFace::~ClockFace() = default;

void ClockFace::apply(const FaceState& state)
{
    followDevicePixelRatio();
    const bool first = !shown_;
    if (first || shown_->panelColour != state.panelColour)
        setRoleColour(this, QPalette::Window, toQColor(state.panelColour));
    if (first || shown_->labelColour != state.labelColour) {
        setRoleColour(date_, QPalette::WindowText, toQColor(state.labelColour));
        setRoleColour(extended_, QPalette::WindowText, toQColor(state.labelColour));
    }
    showImages(state, first);
    if (first || shown_->dateText != state.dateText)
        setLabelText(date_, QString::fromStdString(state.dateText));
    // No text means the extended display is off and its label stays as it is.
    if (state.extendedText && (first || shown_->extendedText != state.extendedText))
        setLabelText(extended_, QString::fromStdString(*state.extendedText));
    if (shown_)
        *shown_ = state;
    else
        shown_ = std::make_unique<FaceState>(state);
}

void ClockFace::clearExtended()
{
    setLabelText(extended_, QString());
    // Forget the shown text, so that the next drawing with the option on fills the label
    // even when the text is the same as before.
    if (shown_)
        shown_->extendedText.reset();
}

void ClockFace::showImages(const FaceState& state, bool all)
{
    for (std::size_t i = 0; i < digits_.size(); ++i) {
        if (all || shown_->digitImages[i] != state.digitImages[i])
            digits_[i]->setPixmap(images_->image(state.digitImages[i]));
    }
    if (all || shown_->colonImage != state.colonImage) {
        for (DigitImageView* colon : colons_)
            colon->setPixmap(images_->image(state.colonImage));
    }
}

void ClockFace::setLabelText(QLabel* label, const QString& text)
{
    if (label->text() == text)
        return;
    label->setText(text);
    placeLabel(label);
}

void ClockFace::placeLabel(QLabel* label)
{
    const QString text = label->text();
    // Each label is as wide as its text: the date grows to the left from its right edge.
    const int width = QFontMetrics(label->font()).horizontalAdvance(text);
    const int left = label == date_ ? kDateRightEdge - width : kExtendedLeft;
    label->setGeometry(left, kLabelTop, width, kLabelHeight);
}

// The images are drawn for one device pixel ratio; on a screen with another one they
// would be scaled and blurred, so they are drawn anew.
void ClockFace::followDevicePixelRatio()
{
    const qreal dpr = devicePixelRatioF();
    if (dpr == images_->devicePixelRatio())
        return;
    images_ = std::make_unique<DigitImageSet>(dpr);
    if (shown_)
        showImages(*shown_, true);
}

bool ClockFace::event(QEvent* event)
{
    if (event->type() == QEvent::ScreenChangeInternal)
        followDevicePixelRatio();
    return QFrame::event(event);
}

void ClockFace::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

// Pressing on the panel must not reach the window, where it would start dragging it.
void ClockFace::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void ClockFace::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void ClockFace::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

void ClockFace::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    emit contextMenuRequested(event->globalPos());
}

} // namespace zw
