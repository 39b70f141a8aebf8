#pragma once
// Where text meets a widget: appointment lines are Windows-1252 bytes, the system's own
// texts UTF-8, widgets QString. Every window converts here and nowhere else.
#include <QString>
#include <QStringList>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

QString fromCp1252(std::string_view cp1252);
// Characters Windows-1252 cannot hold become '?'; callers that must not lose any check
// fitsCp1252() first.
std::string toCp1252(const QString& text);
bool fitsCp1252(const QString& text);
QString fromUtf8(std::string_view utf8);

// A file name as the file system takes it, in the system's encoding.
std::filesystem::path toPath(const QString& name);
std::vector<std::filesystem::path> toPaths(const QStringList& names);

} // namespace zw
