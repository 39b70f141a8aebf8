#pragma once
#include "common/launch_result.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <exception>

class QWidget;

namespace zw {

enum class MessageIcon { Information, Question, Warning, Error };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageResult { Ok, Cancel, Yes, No };
// How the desktop's notification area deals with the program's icon. A classic tray
// (XEmbed, Windows) reports clicks and double-clicks and leaves the menu to the program;
// a StatusNotifierItem host (KDE, GNOME's AppIndicator, XFCE, LXQt, Wayland bars) sends
// one activation per left click, knows no double-click and draws an exported menu itself.
enum class TrayKind { Classic, StatusNotifier };

// Title of the box for errors that no command handles itself.
inline constexpr char kErrorBoxTitle[] = "Zeitwache99";
// Title of the program's own message boxes.
inline constexpr char kMessageBoxTitle[] = "Zeitwache 99";

// What a box answers when it is closed without a button (Esc, the close box): Cancel,
// else No, else OK.
MessageResult dismissedResult(MessageButtons buttons);
// The error's message as the error box shows it: followed by a full stop.
QString errorBoxText(const std::exception& error);

// Everything the program asks of the desktop. One implementation drives the real
// desktop; a scripted one answers tests without showing anything.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Modal for the whole application; returns the button that closed the box.
    // Texts may hold line feed + carriage return pairs; they show as line breaks.
    virtual MessageResult messageBox(const QString& text, const QString& title,
                                     MessageIcon icon, MessageButtons buttons) = 0;
    // The error box: title "Zeitwache99", error icon, OK, the message followed by ".".
    void showError(const std::exception& error);

    // Starts a program (a path, or a name found on the search path) with the
    // arguments exactly as given, never through a shell; opens anything else that
    // exists with the program associated with its type. Does not wait for it.
    // Returns a value above 32 on success, else kLaunchFileNotFound,
    // kLaunchNoAssociation or another value up to 32.
    virtual int startApplication(const QString& file, const QStringList& arguments) = 0;

    // Starts playing the wave file and returns at once; a later sound replaces this
    // one. A missing or unplayable file gives the default beep instead.
    virtual void playWave(const QString& absolutePath) = 0;
    // Plays the sound named soundName from the first of the folders that has it (a
    // missing one gives the beep), or nothing for "(Kein)".
    void playSound(const QStringList& folders, const QString& soundName);
    virtual void beep() = 0;

    // Help: a topic by its ID ("UHR"), the contents, the topics dialog with its search,
    // a text by its context number in the help window or as a pop-up at a screen point;
    // closeHelp() closes all of it.
    virtual void showHelpTopic(const QString& topicId) = 0;
    virtual void showHelpContents() = 0;
    virtual void showHelpTopics() = 0;
    virtual void showHelpContext(int contextNumber) = 0;
    virtual void showHelpPopup(int contextNumber, QPoint globalPos) = 0;
    virtual void closeHelp() = 0;

    // Size of the primary screen.
    virtual QSize screenSize() const = 0;
    // Client area of a maximised window: the work area less one caption height.
    virtual QSize fullScreenClientSize() const = 0;
    // Screen rectangle of the notification-area icon; where the desktop does not tell,
    // the point the user last clicked the icon at, else an icon-sized rectangle in the
    // bottom-right corner of the work area.
    virtual QRect trayRect() const = 0;
    // Whether the desktop has a notification area to hold the program's icon.
    virtual bool hasNotificationArea() const = 0;
    virtual TrayKind trayKind() const = 0;

    // The file-open dialog for one existing file, starting in `directory`; returns its
    // full path, or an empty text when the user cancels.
    virtual QString chooseExistingFile(QWidget* parent, const QString& title, const QString& filter,
                                       const QString& directory) = 0;

    // Opens the desktop's own date and time settings, if it has any. Failure is
    // silent; it never blocks for long.
    virtual void openDateTimeSettings() = 0;

    // Raises and activates the window; returns whether it is the active window now.
    // Some desktops activate a window only a moment later or refuse to; then ask
    // for the user's attention, which ends by itself once the window is active.
    virtual bool bringToFront(QWidget* window) = 0;
    virtual void requestAttention(QWidget* window) = 0;
};

} // namespace zw
