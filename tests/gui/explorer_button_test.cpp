// The explorer-style button: its grey and engraved pictures, clicking, the access key,
// the drop-down menu, group latching, and the four pictures of the manager's list page.
#include "widgets/explorer_button.h"
#include "widgets/explorer_pictures.h"
#include "widgets/picture_effects.h"

#include <QAccessible>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace zw {
namespace {

const QRgb kBackground = qRgb(255, 0, 255);
const QColor kHighlight(10, 20, 30);
const QColor kShadow(40, 50, 60);

// A row of pixels behind a background pixel at x = 0.
QImage pictureOf(const std::vector<QRgb>& pixels)
{
    QImage picture(static_cast<int>(pixels.size()) + 1, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, kBackground);
    for (size_t i = 0; i < pixels.size(); ++i)
        picture.setPixel(static_cast<int>(i) + 1, 0, pixels[i]);
    return picture;
}

// A colour whose red, green and blue add up to `sum`.
QRgb withSum(int sum)
{
    const int red = std::min(sum, 255);
    const int green = std::min(sum - red, 255);
    return qRgb(red, green, sum - red - green);
}

TEST(GreyPicture, EachShadingDividesByItsThreeThresholds)
{
    struct Case {
        ShadingType shading;
        int white, highlight, shadow;
    };
    const Case cases[] = {
        {ShadingType::Light, 205, 127, 68},
        {ShadingType::Medium, 553, 231, 57},
        {ShadingType::Dark, 335, 274, 175},
    };
    const QRgb white = qRgb(255, 255, 255);
    const QRgb black = qRgb(0, 0, 0);
    for (const Case& c : cases) {
        const QImage grey = greyPicture(pictureOf({withSum(c.white + 1), withSum(c.white), withSum(c.highlight + 1),
                                                   withSum(c.highlight), withSum(c.shadow + 1), withSum(c.shadow)}),
                                        c.shading, kHighlight, kShadow);
        const std::vector<QRgb> expected = {white, kHighlight.rgb(), kHighlight.rgb(), kShadow.rgb(), kShadow.rgb(), black};
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(grey.pixel(static_cast<int>(i) + 1, 0), expected[i]) << "case " << c.white << ", pixel " << i;
        EXPECT_EQ(grey.pixel(0, 0), kBackground);
    }
}

TEST(GreyPicture, TheBackgroundColourStaysWhereverItIs)
{
    const QImage grey = greyPicture(pictureOf({qRgb(200, 0, 0), kBackground}), ShadingType::Medium, kHighlight, kShadow);
    EXPECT_EQ(grey.pixel(2, 0), kBackground);
    EXPECT_NE(grey.pixel(1, 0), qRgb(200, 0, 0));
}

TEST(EmbossedPicture, DrawnPixelsCastALightEdgeRightAndDown)
{
    // Background, then a red and a white pixel on the middle row.
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(kBackground);
    picture.setPixel(1, 1, qRgb(200, 0, 0));
    picture.setPixel(2, 1, qRgb(255, 255, 255));
    const QImage engraved = embossedPicture(picture, kHighlight, kShadow);
    ASSERT_EQ(engraved.size(), QSize(5, 4));
    EXPECT_EQ(engraved.pixel(1, 1), kShadow.rgb());
    EXPECT_EQ(engraved.pixel(2, 2), kHighlight.rgb());
    EXPECT_EQ(qAlpha(engraved.pixel(2, 1)), 0); // white is not drawn
    EXPECT_EQ(qAlpha(engraved.pixel(3, 2)), 0);
    EXPECT_EQ(qAlpha(engraved.pixel(0, 0)), 0); // nor the background

    // The shadow lies over a neighbour's light edge; at twice the pixel ratio the edge is
    // two device pixels away.
    picture.setPixel(2, 2, qRgb(0, 0, 200));
    picture.setDevicePixelRatio(2);
    const QImage sharp = embossedPicture(picture, kHighlight, kShadow);
    EXPECT_EQ(sharp.size(), QSize(6, 5));
    EXPECT_EQ(sharp.pixel(2, 2), kShadow.rgb());
    EXPECT_EQ(sharp.pixel(3, 3), kHighlight.rgb());
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
}

// A picture with a red middle on the background colour of its top-left pixel.
QImage redPicture()
{
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(qRgb(0, 128, 128));
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            picture.setPixel(x, y, qRgb(220, 0, 0));
    return picture;
}

bool containsColour(const QImage& image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xffffffu) == (colour & 0xffffffu))
                return true;
    return false;
}

class ExplorerButtonTest : public ::testing::Test {
protected:
    ExplorerButtonTest()
    {
        window.resize(300, 100);
        button = new ExplorerButton(&window);
        button->move(40, 30);
        button->setCaption("&Suchen");
        button->setBitmap(redPicture());
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QImage shot() const { return button->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QWidget window;
    ExplorerButton* button;
};

TEST_F(ExplorerButtonTest, StartsWithItsDocumentedDefaults)
{
    ExplorerButton fresh;
    EXPECT_EQ(fresh.size(), QSize(50, 40));
    EXPECT_EQ(fresh.options(), ExplorerButton::MonoDisplay | ExplorerButton::PopupMark);
    EXPECT_EQ(fresh.bitmapLayout(), ExplorerButton::BitmapLayout::Top);
    EXPECT_EQ(fresh.alignment(), Qt::AlignHCenter);
    EXPECT_EQ(fresh.bevelStyle(), ExplorerButton::BevelStyle::Raised);
    EXPECT_EQ(fresh.shadingType(), ShadingType::Medium);
    EXPECT_EQ(fresh.groupIndex(), 0);
    EXPECT_FALSE(fresh.allowAllUp());
    EXPECT_TRUE(fresh.showDownPattern());
    EXPECT_FALSE(fresh.wordWrap());
    EXPECT_EQ(fresh.unselectedFontColor(), fresh.palette().color(QPalette::WindowText));
}

TEST_F(ExplorerButtonTest, ClicksOnlyWhenReleasedOverTheButton)
{
    QSignalSpy clicks(button, &ExplorerButton::clicked);
    const QPoint inside = button->rect().center();
    QTest::mousePress(button, Qt::LeftButton, {}, inside);
    QTest::mouseMove(button, QPoint(button->width() + 20, inside.y()));
    EXPECT_FALSE(button->isHot());
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(button->width() + 20, inside.y()));
    EXPECT_EQ(clicks.count(), 0);

    QTest::mouseClick(button, Qt::LeftButton, {}, inside);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(ExplorerButtonTest, TheAccessKeyPressesTheButton)
{
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy clicks(button, &ExplorerButton::clicked);
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(clicks.count() == 1 || clicks.wait(1000));
}

TEST_F(ExplorerButtonTest, ReadsItsCaptionWithoutTheAccessMark)
{
    EXPECT_EQ(button->accessibleName(), "Suchen");
    QAccessibleInterface* readout = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(readout, nullptr);
    EXPECT_EQ(readout->text(QAccessible::Name), "Suchen");
    button->setCaption("Laden && &Speichern");
    EXPECT_EQ(button->accessibleName(), "Laden & Speichern");
}

TEST_F(ExplorerButtonTest, IconOnlyDrawsNoCaptionAndOffersItAsTooltip)
{
    button->setCaption(QString());
    const QImage bare = shot();
    button->setCaption("&Suchen");
    EXPECT_NE(shot(), bare); // the caption is drawn ...
    button->setOptions(button->options() | ExplorerButton::IconOnly);
    button->setCaption("&Suchen");
    EXPECT_EQ(button->toolTip(), "Suchen");
    EXPECT_EQ(shot(), bare); // ... but not with IconOnly
}

TEST_F(ExplorerButtonTest, ShowsTheGreyPictureUntilTheMouseComesOver)
{
    const QRgb red = qRgb(220, 0, 0);
    QTest::mouseMove(&window, QPoint(250, 90));
    ASSERT_FALSE(button->isHot());
    EXPECT_FALSE(containsColour(shot(), red));
    EXPECT_FALSE(containsColour(shot(), qRgb(0, 128, 128))); // the background is transparent
    QTest::mouseMove(button, button->rect().center());
    ASSERT_TRUE(button->isHot());
    EXPECT_TRUE(containsColour(shot(), red));
    button->setOptions({});
    QTest::mouseMove(&window, QPoint(250, 90));
    ASSERT_FALSE(button->isHot());
    EXPECT_TRUE(containsColour(shot(), red)); // without MonoDisplay: the colour picture
}

TEST_F(ExplorerButtonTest, ADisabledButtonShowsTheEngravedPicture)
{
    button->setEnabled(false);
    const QImage image = shot();
    EXPECT_FALSE(containsColour(image, qRgb(220, 0, 0)));
    EXPECT_TRUE(containsColour(image, button->palette().color(QPalette::Dark).rgb()));
}

TEST_F(ExplorerButtonTest, ADropDownMenuOpensOnPressInsteadOfAClick)
{
    QMenu menu;
    menu.addAction("Eins");
    button->setDropDownMenu(&menu);
    QSignalSpy clicks(button, &ExplorerButton::clicked);
    QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_TRUE(menu.isVisible());
    EXPECT_TRUE(button->isDown());
    menu.close();
    EXPECT_FALSE(button->isDown());
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ExplorerButtonTest, ButtonsOfOneGroupLatchInTurn)
{
    auto* second = new ExplorerButton(&window);
    auto* otherGroup = new ExplorerButton(&window);
    QWidget elsewhere;
    auto* otherParent = new ExplorerButton(&elsewhere);
    for (ExplorerButton* member : {button, second, otherParent})
        member->setGroupIndex(1);
    otherGroup->setGroupIndex(2);
    otherGroup->setChecked(true);
    otherParent->setChecked(true);

    button->click();
    EXPECT_TRUE(button->isChecked());
    second->click();
    EXPECT_TRUE(second->isChecked());
    EXPECT_FALSE(button->isChecked());
    EXPECT_TRUE(otherGroup->isChecked());
    EXPECT_TRUE(otherParent->isChecked());
    second->click();
    EXPECT_TRUE(second->isChecked()); // stays down without AllowAllUp

    button->setAllowAllUp(true);
    EXPECT_TRUE(second->allowAllUp());
    EXPECT_FALSE(otherParent->allowAllUp());
    second->click();
    EXPECT_FALSE(second->isChecked());

    button->setChecked(true);
    button->setGroupIndex(0);
    EXPECT_FALSE(button->isChecked());
    button->setChecked(true);
    EXPECT_FALSE(button->isChecked()); // Down needs a group
}

TEST(ExplorerPictures, FourColourfulPicturesOnTheirBackgroundAtAnyScale)
{
    for (qreal ratio : {1.0, 2.0}) {
        std::vector<QImage> pictures;
        for (ExplorerPicture which :
             {ExplorerPicture::Edit, ExplorerPicture::Delete, ExplorerPicture::Properties, ExplorerPicture::Search}) {
            const QImage picture = explorerPicture(which, ratio);
            EXPECT_EQ(picture.size(), QSize(kExplorerPictureSize, kExplorerPictureSize) * ratio);
            EXPECT_EQ(picture.devicePixelRatio(), ratio);
            EXPECT_EQ(backgroundOf(picture), explorerPictureBackground().rgb());
            int colourful = 0;
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x) {
                    const QColor c = picture.pixelColor(x, y);
                    colourful += c.hsvSaturation() > 120 && c.value() > 100;
                }
            EXPECT_GT(colourful, picture.width() * picture.height() / 30);
            for (const QImage& earlier : pictures)
                EXPECT_NE(picture, earlier);
            pictures.push_back(picture);
        }
    }
}

} // namespace
} // namespace zw
