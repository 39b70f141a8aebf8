#include "platform/desktop.h"

#include "store/appointment_line.h"

#include <QDir>

namespace zw {

MessageResult dismissedResult(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::YesNo:
        return MessageResult::No;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
        return MessageResult::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return MessageResult::Ok;
}

QString errorBoxText(const std::exception& error)
{
    return QString::fromUtf8(error.what()) + QLatin1Char('.');
}

void Desktop::showError(const std::exception& error)
{
    messageBox(errorBoxText(error), QString::fromLatin1(kErrorBoxTitle), MessageIcon::Error,
               MessageButtons::Ok);
}

void Desktop::playSound(const QString& directory, const QString& soundName)
{
    if (soundName.toStdString() == line::kNoSound)
        return;
    playWave(QDir(directory).filePath(soundName));
}

} // namespace zw
