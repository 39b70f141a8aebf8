#pragma once
// How the multi-column list reads one row string: a picture code in the first character,
// then column texts, each closed by the separator. Text after the last separator belongs
// to no column, so a client shows its last column by ending the row with a separator.
#include <QChar>
#include <QStringView>

#include <vector>

namespace zw {

inline constexpr int kGlyphCount = 16;

struct RowText {
    // 0 to 15 for a row that starts with a picture code, else -1.
    int glyph = -1;
    // Column 0 first, without the picture code or a leading "~".
    std::vector<QStringView> columns;
};

// The picture number of a row's first character, or -1 when it is no picture code.
int glyphOfCode(QChar first);

// The views in the result point into `row`.
RowText splitRow(QStringView row, QChar separator);

} // namespace zw
