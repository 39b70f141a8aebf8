// The program's icon: every size that is installed into the icon theme is also compiled
// into the program, each is a real picture, and a doubled screen gets the doubled drawing.
#include "clock/ui/app_icon.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include <vector>

namespace {

// The installed PNGs, found beside the sources: icons/hicolor/SIZExSIZE/apps/zeitwache.png.
std::vector<int> installedSizes()
{
    const QDir hicolor(QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../../icons/hicolor"));
    std::vector<int> sizes;
    for (const QString& dir : hicolor.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!QFileInfo::exists(hicolor.filePath(dir + QStringLiteral("/apps/zeitwache.png"))))
            continue;
        bool ok = false;
        const int size = dir.section(QLatin1Char('x'), 0, 0).toInt(&ok);
        if (ok)
            sizes.push_back(size);
    }
    return sizes;
}

QImage installedPicture(int size)
{
    const QString dir = QStringLiteral("%1x%1").arg(size);
    return QImage(QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../../icons/hicolor/") + dir +
                  QStringLiteral("/apps/zeitwache.png"))
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Pixels in which two pictures differ; a picture of another size differs in all of them.
int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return a.width() * a.height() + 1;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int count = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col)
            count += x.pixel(col, row) != y.pixel(col, row);
    return count;
}

} // namespace

TEST(AppIcon, OffersEveryInstalledSize)
{
    const QIcon icon = zw::appIcon();
    ASSERT_FALSE(icon.isNull());
    const std::vector<int> sizes = installedSizes();
    ASSERT_GE(sizes.size(), 4u) << "the icon theme PNGs were not found beside the sources";
    const QList<QSize> offered = icon.availableSizes();
    for (int size : sizes)
        EXPECT_TRUE(offered.contains(QSize(size, size))) << size << " px is installed but not compiled in";
}

TEST(AppIcon, EachSizeIsTheDrawnPictureNotAScaledOne)
{
    const QIcon icon = zw::appIcon();
    for (int size : installedSizes()) {
        EXPECT_EQ(differingPixels(icon.pixmap(size, size).toImage(), installedPicture(size)), 0) << size << " px";
    }
}

TEST(AppIcon, IsAPictureWithAnOutline)
{
    const QImage image = zw::appIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(32, 32));
    int opaque = 0;
    int transparent = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            opaque += alpha == 255;
            transparent += alpha == 0;
        }
    }
    // An alarm clock covers much of its square, but not the corners.
    EXPECT_GT(opaque, 32 * 32 / 3);
    EXPECT_GT(transparent, 32 * 32 / 10);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(16, 17)), 255) << "the clock's face is in the middle";
}

TEST(AppIcon, DoubledScreenGetsTheDoubledDrawing)
{
    const QPixmap pixmap = zw::appIcon().pixmap(QSize(32, 32), 2.0);
    EXPECT_EQ(pixmap.size(), QSize(64, 64));
    EXPECT_EQ(pixmap.devicePixelRatio(), 2.0);
    EXPECT_EQ(differingPixels(pixmap.toImage(), installedPicture(64)), 0)
        << "a 32 px picture scaled up would be blurred";
}
