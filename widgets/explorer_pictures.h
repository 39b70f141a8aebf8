#pragma once
// The pictures of the manager's list page buttons, drawn by code so that they are sharp
// at every device pixel ratio. Each lies on the plain colour explorerPictureBackground(),
// which the button treats as transparent (its top-left pixel).
#include <QColor>
#include <QImage>

namespace zw {

enum class ExplorerPicture { Edit, Delete, Properties, Search };

// Logical size, square: an 80 x 43 button keeps room for a line of caption beneath it.
inline constexpr int kExplorerPictureSize = 24;

QColor explorerPictureBackground();

// kExplorerPictureSize logical pixels square, rendered at `devicePixelRatio`.
QImage explorerPicture(ExplorerPicture which, qreal devicePixelRatio);

} // namespace zw
