#include "clock/ui/app_icon.h"

#include <QDir>
#include <QImageReader>
#include <QPixmap>

// Resources of a static library are not linked in unless something asks for them; the
// macro has to stand outside any namespace.
static void initIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace zw {

QIcon appIcon()
{
    static const QIcon icon = [] {
        initIconResources();
        QIcon i;
        // Every size the resource holds, so that a size added to icons.qrc needs no edit
        // here. QIcon then picks the nearest drawn size (at 200 % the doubled one) instead
        // of scaling a smaller picture up. Read as PNG by name: a file given to QIcon is
        // first offered to every image plugin, which loads them before the tray icon is up.
        const QDir dir(QStringLiteral(":/zeitwache/icon"));
        for (const QString& name : dir.entryList({QStringLiteral("*.png")}, QDir::Files)) {
            QImageReader png(dir.filePath(name), "png");
            png.setAutoDetectImageFormat(false);
            i.addPixmap(QPixmap::fromImage(png.read()));
        }
        return i;
    }();
    return icon;
}

QIcon appIconByThemeName()
{
    return QIcon::fromTheme(QStringLiteral("zeitwache"), appIcon());
}

} // namespace zw
