#include "clock/face.h"
#include "clock/ui/clock_face.h"
#include "clock/ui/digit_images.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QWindow>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace zw {
namespace {

const DisplayStyle& style(std::string_view storedName)
{
    const DisplayStyle* found = findStyleByStoredName(storedName);
    if (found == nullptr)
        ADD_FAILURE() << "no style " << storedName;
    return found ? *found : initialDisplayStyle();
}

FaceState faceAt(int h, int m, int s, std::string_view styleName, bool extended = false,
                 int snoozed = 0, std::size_t appointments = 0)
{
    return computeFace({{2024, 3, 9}, {h, m, s}}, style(styleName), extended, snoozed,
                       appointments);
}

// Stands in for the clock window: 148 x 60, counting the presses that reach it.
class WindowStandIn : public QWidget {
public:
    WindowStandIn() { resize(148, 60); }
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

struct Fixture {
    WindowStandIn window;
    ClockFace* face = new ClockFace(&window);

    QWidget* child(const char* name) const
    {
        return face->findChild<QWidget*>(QString::fromLatin1(name));
    }
    QLabel* label(const char* name) const
    {
        return face->findChild<QLabel*>(QString::fromLatin1(name));
    }
    // The panel as the screen shows it.
    QImage picture() const { return face->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

QRgb rgb(int r, int g, int b)
{
    return qRgb(r, g, b);
}

::testing::AssertionResult pixelIs(const QImage& image, QPoint at, QRgb expected)
{
    const QRgb actual = image.pixel(at);
    if (actual == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel (" << at.x() << "," << at.y() << ") is " << qRed(actual) << ","
           << qGreen(actual) << "," << qBlue(actual) << ", expected " << qRed(expected) << ","
           << qGreen(expected) << "," << qBlue(expected);
}

// ---- layout ------------------------------------------------------------------------

TEST(ClockFaceWidget, PanelImagesAndLabelsSitWhereTheClockExpectsThem)
{
    Fixture f;
    EXPECT_EQ(f.face->objectName(), "Panel1");
    EXPECT_EQ(f.face->geometry(), QRect(7, 6, 123, 48));
    EXPECT_EQ(f.face->frameShape(), QFrame::Panel);
    EXPECT_EQ(f.face->frameShadow(), QFrame::Sunken);

    const std::map<const char*, QRect> images{
        {"Image1", {6, 6, 16, 27}},  {"Image2", {22, 6, 16, 27}}, {"Image3", {45, 6, 16, 27}},
        {"Image4", {61, 6, 16, 27}}, {"Image5", {84, 6, 16, 27}}, {"Image6", {100, 6, 16, 27}},
        {"Image7", {40, 6, 3, 27}},  {"Image8", {79, 6, 3, 27}},
    };
    for (const auto& [name, rect] : images) {
        QWidget* image = f.child(name);
        ASSERT_NE(image, nullptr) << name;
        EXPECT_EQ(image->geometry(), rect) << name;
    }

    f.face->apply(faceAt(9, 5, 7, "LEDGruen", true, 0, 12));
    QLabel* date = f.label("Label1");
    QLabel* extended = f.label("Label2");
    ASSERT_NE(date, nullptr);
    ASSERT_NE(extended, nullptr);
    EXPECT_EQ(date->text(), "09.03.2024");
    EXPECT_EQ(date->geometry().right() + 1, 115);
    EXPECT_EQ(date->y(), 33);
    EXPECT_EQ(date->height(), 13);
    EXPECT_TRUE(date->alignment() & Qt::AlignRight);
    EXPECT_EQ(extended->text(), "12 Term.");
    EXPECT_EQ(extended->x(), 6);
    EXPECT_EQ(extended->y(), 33);
    EXPECT_EQ(extended->height(), 13);
    EXPECT_TRUE(extended->alignment() & Qt::AlignLeft);
    EXPECT_FALSE(date->autoFillBackground());
    EXPECT_FALSE(extended->autoFillBackground());

    // Labels are as wide as their text: a longer text grows the date to the left only.
    const int widthBefore = extended->width();
    f.face->apply(faceAt(9, 5, 7, "LEDGruen", true, 0, 1234));
    EXPECT_GT(extended->width(), widthBefore);
    EXPECT_EQ(extended->x(), 6);
}

// ---- colours -----------------------------------------------------------------------

TEST(ClockFaceWidget, LitSegmentsAndDotsShowTheStylesColour)
{
    Fixture f;
    // The centre of an 8 (Image2 at 08:08:08) is lit in every style: the middle bar, or the
    // matrix's middle dot. The 0 beside it is dark there.
    const QPoint centreOfImage2(22 + 8, 6 + 13);
    const QPoint centreOfImage1(6 + 8, 6 + 13);

    struct Case {
        const char* style;
        QRgb lit;
    };
    for (const Case& c : {Case{"LEDRot", rgb(255, 0, 0)}, Case{"LEDGruen", rgb(0, 255, 0)},
                          Case{"LEDMatrix", rgb(0, 255, 255)}, Case{"LCDBeleuchtet", rgb(0, 0, 0)},
                          Case{"LCD", rgb(0, 0, 0)}}) {
        SCOPED_TRACE(c.style);
        f.face->apply(faceAt(8, 8, 8, c.style));
        const QImage picture = f.picture();
        EXPECT_TRUE(pixelIs(picture, centreOfImage2, c.lit));
        EXPECT_NE(picture.pixel(centreOfImage1), c.lit);
    }
    // Flip cards: a white figure, cut by the grey split across the middle.
    f.face->apply(faceAt(8, 8, 8, "Klappziffer"));
    EXPECT_TRUE(pixelIs(f.picture(), centreOfImage2, rgb(96, 96, 96)));
    EXPECT_TRUE(pixelIs(f.picture(), centreOfImage2 + QPoint(0, -8), rgb(255, 255, 255)));
}

TEST(ClockFaceWidget, PanelAndLabelColoursFollowEachStyle)
{
    Fixture f;
    for (const DisplayStyle& s : displayStyles()) {
        SCOPED_TRACE(std::string(s.storedName));
        f.face->apply(computeFace({{2024, 3, 9}, {1, 2, 3}}, s, true, 0, 3));
        const QColor panel(s.panelColour.r, s.panelColour.g, s.panelColour.b);
        const QColor text(s.labelColour.r, s.labelColour.g, s.labelColour.b);
        EXPECT_EQ(f.face->palette().color(QPalette::Window), panel);
        EXPECT_EQ(f.label("Label1")->palette().color(QPalette::WindowText), text);
        EXPECT_EQ(f.label("Label2")->palette().color(QPalette::WindowText), text);
        // The images' background is the panel's: grey-green for the LCD, cyan, black.
        const QImage picture = f.picture();
        EXPECT_TRUE(pixelIs(picture, QPoint(119, 20), panel.rgb())); // right of the seconds
        EXPECT_TRUE(pixelIs(picture, QPoint(6, 6), panel.rgb()));    // corner of Image1
        EXPECT_TRUE(pixelIs(picture, QPoint(40, 6), panel.rgb()));   // corner of a colon
    }
}

// ---- the image set -----------------------------------------------------------------

TEST(DigitImages, SheetHasTheSameLogicalSizeAtEveryScale)
{
    const QImage single = renderDigitSheet(1.0);
    EXPECT_EQ(single.size(), QSize(64, 486));
    EXPECT_EQ(single.deviceIndependentSize(), QSizeF(64, 486));

    const QImage doubled = renderDigitSheet(2.0);
    EXPECT_EQ(doubled.size(), QSize(128, 972));
    EXPECT_EQ(doubled.deviceIndependentSize(), QSizeF(64, 486));

    const DigitImageSet set(2.0);
    EXPECT_EQ(set.image(0).size(), QSize(32, 54));
    EXPECT_EQ(set.image(65).deviceIndependentSize(), QSizeF(16, 27));
    EXPECT_TRUE(set.image(66).isNull());
    EXPECT_TRUE(set.image(-1).isNull());
}

TEST(DigitImages, SheetCellsHoldTheImagesInRowMajorOrder)
{
    const QImage sheet = renderDigitSheet(1.0);
    for (int i : {0, 7, 23, 41, 59, 60, 65}) {
        const QImage cell = sheet.copy((i % 4) * 16, (i / 4) * 27, 16, 27);
        EXPECT_EQ(cell, renderDigitImage(i, 1.0).convertToFormat(cell.format())) << i;
    }
    // The six cells after the last image stay black.
    const QImage empty = sheet.copy(32, 16 * 27, 32, 27).convertToFormat(QImage::Format_RGB32);
    QImage black(empty.size(), empty.format());
    black.fill(Qt::black);
    EXPECT_EQ(empty, black);
    EXPECT_EQ(sheet.copy(0, 17 * 27, 64, 27).convertToFormat(QImage::Format_RGB32),
              black.scaled(64, 27));
}

TEST(DigitImages, TenDigitsOfEachStyleArePairwiseDifferent)
{
    for (qreal dpr : {1.0, 1.25, 2.0}) {
        for (const DisplayStyle& s : displayStyles()) {
            for (int a = 0; a < 10; ++a) {
                const QImage first = renderDigitImage(s.digitBase + a, dpr);
                for (int b = a + 1; b < 10; ++b) {
                    EXPECT_NE(first, renderDigitImage(s.digitBase + b, dpr))
                        << s.storedName << " digits " << a << " and " << b << " at " << dpr;
                }
            }
        }
    }
}

// Only three columns of a colon image are ever on screen: one dot above the middle and
// one below must lie there.
TEST(DigitImages, ColonDotsLieInTheVisibleColumns)
{
    for (const DisplayStyle& s : displayStyles()) {
        const QImage colon = renderDigitImage(kColonImageBase + s.number, 1.0);
        const QColor lit(s.labelColour.r, s.labelColour.g, s.labelColour.b);
        auto litIn = [&](int top, int bottom) {
            for (int y = top; y < bottom; ++y)
                for (int x = 0; x < 3; ++x)
                    if (colon.pixelColor(x, y) == lit)
                        return true;
            return false;
        };
        EXPECT_TRUE(litIn(0, 13)) << s.storedName;
        EXPECT_FALSE(litIn(13, 14)) << s.storedName;
        EXPECT_TRUE(litIn(14, 27)) << s.storedName;
    }
}

// The matrix colon is its two lit dots on black: a column of dark dots beside the digits'
// own would run hours, minutes and seconds into one grid.
TEST(DigitImages, DotMatrixColonHasNoDarkDots)
{
    const QImage colon =
        renderDigitImage(kColonImageBase + style("LEDMatrix").number, 1.0).convertToFormat(QImage::Format_RGB32);
    int lit = 0;
    for (int y = 0; y < colon.height(); ++y) {
        for (int x = 0; x < colon.width(); ++x) {
            const QRgb pixel = colon.pixel(x, y);
            if (pixel == rgb(0, 255, 255))
                ++lit;
            else
                ASSERT_EQ(pixel, rgb(0, 0, 0)) << "at " << x << "," << y;
        }
    }
    EXPECT_GT(lit, 0);
}

// ---- repainting --------------------------------------------------------------------

class PaintCounter : public QObject {
public:
    std::map<QString, int> paints;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints[watched->objectName()];
        return false;
    }
    int total() const
    {
        int n = 0;
        for (const auto& [name, count] : paints)
            n += count;
        return n;
    }
};

void settle()
{
    // Repaints are posted events; a few rounds deliver them without waiting on time.
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

TEST(ClockFaceWidget, RepaintsOnlyWhatChanged)
{
    Fixture f;
    PaintCounter counter;
    f.face->installEventFilter(&counter);
    for (QWidget* w : f.face->findChildren<QWidget*>())
        w->installEventFilter(&counter);

    f.face->apply(faceAt(9, 5, 7, "LEDGruen", true, 0, 3));
    f.window.show();
    settle();
    ASSERT_GT(counter.paints["Image1"], 0) << "the window was never painted";

    counter.paints.clear();
    f.face->apply(faceAt(9, 5, 7, "LEDGruen", true, 0, 3));
    settle();
    EXPECT_EQ(counter.total(), 0);

    f.face->apply(faceAt(9, 5, 8, "LEDGruen", true, 0, 3));
    settle();
    EXPECT_EQ(counter.paints["Image6"], 1);
    EXPECT_EQ(counter.total(), 1);

    // The extended display switched off: its label is left as it is.
    counter.paints.clear();
    f.face->apply(faceAt(9, 5, 8, "LEDGruen", false, 0, 3));
    settle();
    EXPECT_EQ(counter.total(), 0);
    EXPECT_EQ(f.label("Label2")->text(), "3 Term.");
}

// ---- extended label ----------------------------------------------------------------

TEST(ClockFaceWidget, ClearExtendedEmptiesTheLabelAtOnceAndTheNextTickRefillsIt)
{
    Fixture f;
    f.face->apply(faceAt(9, 5, 7, "LCD", true, 2, 3));
    EXPECT_EQ(f.label("Label2")->text(), "Snooze 2");

    f.face->clearExtended();
    EXPECT_EQ(f.label("Label2")->text(), "");
    f.face->apply(faceAt(9, 5, 8, "LCD", false, 2, 3));
    EXPECT_EQ(f.label("Label2")->text(), "");

    f.face->apply(faceAt(9, 5, 9, "LCD", true, 0, 3));
    EXPECT_EQ(f.label("Label2")->text(), "3 Term.");
    // The same text as before the option went off still comes back after clearing.
    f.face->clearExtended();
    f.face->apply(faceAt(9, 5, 9, "LCD", true, 0, 3));
    EXPECT_EQ(f.label("Label2")->text(), "3 Term.");
}

// ---- mouse -------------------------------------------------------------------------

// Sends a mouse event to the window as the platform would, so that it reaches whatever
// lies under the cursor.
void sendToWindow(QWidget& window, QEvent::Type type, QPoint pos, Qt::MouseButton button)
{
    QWindow* handle = window.windowHandle();
    ASSERT_NE(handle, nullptr);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(pos), QPointF(window.mapToGlobal(pos)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(handle, &event);
}

TEST(ClockFaceWidget, DoubleClickAndRightClickOnImagesAndLabelsReachThePanel)
{
    Fixture f;
    f.face->apply(faceAt(9, 5, 7, "LEDGruen", true, 0, 3));
    f.window.show();
    settle();
    int doubleClicks = 0;
    QList<QPoint> menus;
    QObject::connect(f.face, &ClockFace::doubleClicked, [&] { ++doubleClicks; });
    QObject::connect(f.face, &ClockFace::contextMenuRequested,
                     [&](const QPoint& at) { menus.append(at); });

    const QPoint panel(7, 6);
    const QPoint onImage3 = panel + QPoint(45 + 8, 6 + 10);
    const QPoint onDate = panel + QPoint(110, 38);
    const QPoint onPanelMargin = panel + QPoint(3, 3);
    int expectedClicks = 0;
    for (QPoint at : {onImage3, onDate, onPanelMargin}) {
        sendToWindow(f.window, QEvent::MouseButtonPress, at, Qt::LeftButton);
        sendToWindow(f.window, QEvent::MouseButtonRelease, at, Qt::LeftButton);
        sendToWindow(f.window, QEvent::MouseButtonDblClick, at, Qt::LeftButton);
        sendToWindow(f.window, QEvent::MouseButtonRelease, at, Qt::LeftButton);
        EXPECT_EQ(doubleClicks, ++expectedClicks) << at.x() << "," << at.y();
    }
    // Pressing on the panel does not reach the window, which would drag itself.
    EXPECT_EQ(f.window.presses, 0);
    sendToWindow(f.window, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton);
    EXPECT_EQ(f.window.presses, 1);

    // A right-click on an image, as the platform delivers it.
    sendToWindow(f.window, QEvent::MouseButtonPress, onImage3, Qt::RightButton);
    sendToWindow(f.window, QEvent::MouseButtonRelease, onImage3, Qt::RightButton);
    ASSERT_EQ(menus.size(), 1);
    EXPECT_EQ(menus.takeFirst(), f.window.mapToGlobal(onImage3));

    QContextMenuEvent menuOnImage(QContextMenuEvent::Mouse, f.child("Image5")->rect().center(),
                                  QPoint(500, 400));
    QApplication::sendEvent(f.child("Image5"), &menuOnImage);
    QContextMenuEvent menuOnLabel(QContextMenuEvent::Mouse, QPoint(1, 1), QPoint(510, 410));
    QApplication::sendEvent(f.label("Label2"), &menuOnLabel);
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus.at(0), QPoint(500, 400));
    EXPECT_EQ(menus.at(1), QPoint(510, 410));
    EXPECT_EQ(doubleClicks, expectedClicks);
}

} // namespace
} // namespace zw
