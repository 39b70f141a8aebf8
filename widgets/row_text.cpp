#include "widgets/row_text.h"

namespace zw {

int glyphOfCode(QChar first)
{
    if (first >= u'0' && first <= u'9')
        return first.unicode() - u'0';
    switch (first.unicode()) {
    case u'*': return 10;
    case u'!': return 11;
    case u'@': return 12;
    case u'#': return 13;
    case u'$': return 14;
    case u'%': return 15;
    default: return -1;
    }
}

RowText splitRow(QStringView row, QChar separator)
{
    RowText result;
    if (row.isEmpty())
        return result;
    result.glyph = glyphOfCode(row.front());
    // "~" hides itself, so that a row can begin with a picture code shown as text.
    if (result.glyph >= 0 || row.front() == u'~')
        row = row.mid(1);
    for (qsizetype end = row.indexOf(separator); end >= 0; end = row.indexOf(separator)) {
        result.columns.push_back(row.left(end));
        row = row.mid(end + 1);
    }
    return result;
}

} // namespace zw
