#include "platform/qt_text.h"

#include "common/cp1252.h"

#include <QFile>

namespace zw {

QString fromCp1252(std::string_view cp1252) { return fromUtf8(cp1252ToUtf8(cp1252)); }

std::string toCp1252(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return utf8ToCp1252(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

bool fitsCp1252(const QString& text)
{
    // A character fits when it comes back unchanged; '?' itself always does.
    return fromCp1252(toCp1252(text)) == text;
}

QString fromUtf8(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

std::filesystem::path toPath(const QString& name)
{
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

std::vector<std::filesystem::path> toPaths(const QStringList& names)
{
    std::vector<std::filesystem::path> paths;
    paths.reserve(static_cast<size_t>(names.size()));
    for (const QString& name : names)
        paths.push_back(toPath(name));
    return paths;
}

} // namespace zw
