#include "platform/desktop.h"

#include "common/sound_name.h"

#include <QDir>
#include <QFileInfo>

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

void Desktop::playSound(const QStringList& folders, const QString& soundName)
{
    if (soundName.toStdString() == kNoSound || folders.isEmpty())
        return;
    for (const QString& folder : folders) {
        const QString file = QDir(folder).filePath(soundName);
        if (QFileInfo::exists(file)) {
            playWave(file);
            return;
        }
    }
    playWave(QDir(folders.front()).filePath(soundName));
}

} // namespace zw
