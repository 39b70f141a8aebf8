#pragma once
#include "platform/desktop.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QMessageBox;
class QSoundEffect;
class QSystemTrayIcon;

namespace zw {

class HelpViewer;

// A program that may open the date and time settings, and the desktops it belongs to.
struct SettingsProgram {
    QString program;
    QStringList arguments;
    QString desktop;  // as XDG_CURRENT_DESKTOP names it; empty for any
};

// The date and time settings programs to try, those of currentDesktop (a
// colon-separated XDG_CURRENT_DESKTOP value) first.
QList<SettingsProgram> dateTimeSettingsPrograms(const QString& currentDesktop);

// Whether a file name holds nothing but blanks and control characters, and so names
// no file at all.
bool isBlankFileName(const QString& file);

// The desktop the program runs on, through Qt. It owns windows (help, pop-up): create
// it after the QApplication and destroy it before.
class QtDesktop : public Desktop {
public:
    explicit QtDesktop(QString helpSourceFile = {});
    ~QtDesktop() override;
    QtDesktop(const QtDesktop&) = delete;
    QtDesktop& operator=(const QtDesktop&) = delete;

    // The notification-area icon whose geometry trayRect() reports; where the desktop
    // gives none, trayRect() takes the cursor at the icon's last click or menu.
    void setTrayIcon(QSystemTrayIcon* icon);
    void setHelpSourceFile(const QString& helpSourceFile);

    MessageResult messageBox(const QString& text, const QString& title, MessageIcon icon,
                             MessageButtons buttons) override;
    int startApplication(const QString& file, const QStringList& arguments) override;
    void playWave(const QString& absolutePath) override;
    void beep() override;
    void showHelpTopic(const QString& topicId) override;
    void showHelpContents() override;
    void showHelpTopics() override;
    void showHelpContext(int contextNumber) override;
    void showHelpPopup(int contextNumber, QPoint globalPos) override;
    void closeHelp() override;
    QSize screenSize() const override;
    QSize fullScreenClientSize() const override;
    QRect trayRect() const override;
    bool hasNotificationArea() const override;
    TrayKind trayKind() const override;
    QString chooseExistingFile(QWidget* parent, const QString& title, const QString& filter,
                               const QString& directory) override;
    void openDateTimeSettings() override;
    bool bringToFront(QWidget* window) override;
    void requestAttention(QWidget* window) override;

    // The box messageBox() shows, built but not shown: German button captions, the
    // text as plain text with its line feed + carriage return pairs as line breaks.
    static std::unique_ptr<QMessageBox> buildMessageBox(const QString& text, const QString& title,
                                                        MessageIcon icon, MessageButtons buttons);
    // The text as a box shows it.
    static QString boxText(const QString& text);

    // The help window, created on first use.
    HelpViewer& helpViewer();
    // The effect that plays the wave sounds; null before the first one.
    const QSoundEffect* soundEffect() const { return sound_.get(); }

protected:
    // Runs the box until the user closes it.
    virtual void runModal(QMessageBox& box);

private:
    int openDocument(const QString& absolutePath);

    QString helpSourceFile_;
    QPointer<QSystemTrayIcon> trayIcon_;
    std::optional<QPoint> trayClick_;
    std::unique_ptr<QSoundEffect> sound_;
    std::unique_ptr<HelpViewer> help_;
};

} // namespace zw
