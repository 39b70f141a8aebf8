#include "scheduler/ui/alarm_strings.h"

#include "scheduler/alarm_texts.h"

namespace zw::alarm_strings {

namespace {
QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

QString caption(int messageCounter)
{
    return fromUtf8(alarmCaption(messageCounter));
}

QString timeLine(const LocalDateTime& now)
{
    return fromUtf8(alarmTimeLine(now));
}

QString statusLine(std::string_view cp1252StatusText)
{
    return fromUtf8(alarmStatusLine(cp1252StatusText));
}

QString snoozeReturnStatusLine()
{
    return fromUtf8(zw::snoozeReturnStatusLine());
}

std::optional<QString> launchFailure(std::string_view cp1252ApplicationField, int result)
{
    const std::optional<std::string> text = launchFailureText(cp1252ApplicationField, result);
    if (!text)
        return std::nullopt;
    return fromUtf8(*text);
}

std::vector<SnoozeEntry> snoozeEntries()
{
    std::vector<SnoozeEntry> entries;
    entries.reserve(kSnoozeChoices.size());
    for (const SnoozeChoice& choice : kSnoozeChoices)
        entries.push_back({QString::fromLatin1(choice.caption.data(), static_cast<qsizetype>(choice.caption.size())),
                           choice.minutes});
    return entries;
}

} // namespace zw::alarm_strings
