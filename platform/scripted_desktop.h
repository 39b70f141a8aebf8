#pragma once
#include "platform/desktop.h"

#include <QPointer>
#include <QWidget>

#include <cstddef>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace zw {

// One request the program made of the desktop, as a scripted desktop saw it.
struct DesktopCall {
    enum class Kind {
        MessageBox,
        StartApplication,
        PlayWave,
        Beep,
        HelpTopic,
        HelpContents,
        HelpTopics,
        HelpContext,
        HelpPopup,
        CloseHelp,
        ChooseFile,
        OpenDateTimeSettings,
        BringToFront,
        RequestAttention,
    };

    Kind kind = Kind::MessageBox;
    QString text;  // box text; help topic ID
    QString title;  // box or file dialog title
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    MessageResult answer = MessageResult::Ok;  // what the box returned
    QString file;                               // started file; wave path; chosen file
    QString filter;                             // file dialog filter and start directory
    QString directory;
    QStringList arguments;
    int result = 0;  // what startApplication returned
    int number = 0;  // help context number
    QPoint point;
    QPointer<QWidget> window;
};

// A desktop for tests: it shows nothing and never blocks. Answers are queued in
// advance; every call is recorded in order.
class ScriptedDesktop : public Desktop {
public:
    // Told of what a test did not expect: a box nobody queued an answer for, and answers
    // still queued when the desktop goes. The test programs make it a test failure.
    using UnexpectedHandler = std::function<void(const QString&)>;
    // Returns the handler it replaces.
    static UnexpectedHandler setUnexpectedHandler(UnexpectedHandler handler);

    ScriptedDesktop() = default;
    ~ScriptedDesktop() override;
    ScriptedDesktop(const ScriptedDesktop&) = delete;
    ScriptedDesktop& operator=(const ScriptedDesktop&) = delete;

    // Message boxes take the queued answers in order. A box with none left is unexpected:
    // it is reported and answers as if it had been closed (Cancel, No or OK), never Yes.
    void queueAnswer(MessageResult answer) { answers_.push_back(answer); }
    std::size_t pendingAnswers() const { return answers_.size(); }
    // Runs while a box is "open", before it answers: the place where the real box
    // would let timers fire in its nested event loop.
    void setWhileBoxOpen(std::function<void(const DesktopCall&)> hook) { whileBoxOpen_ = std::move(hook); }

    // File dialogs take the queued files in order (an empty one is a Cancel); one with
    // none left is unexpected and cancels.
    void queueChosenFile(const QString& file) { chosenFiles_.push_back(file); }

    // startApplication returns the queued results in order, then the default.
    void queueLaunchResult(int result) { launchResults_.push_back(result); }
    void setDefaultLaunchResult(int result) { defaultLaunchResult_ = result; }

    void setScreenSize(QSize size) { screenSize_ = size; }
    void setFullScreenClientSize(QSize size) { fullScreenClientSize_ = size; }
    void setTrayRect(QRect rect) { trayRect_ = rect; }
    void setHasNotificationArea(bool has) { hasNotificationArea_ = has; }
    void setTrayKind(TrayKind kind) { trayKind_ = kind; }
    // Whether bringToFront succeeds in making a window the active one.
    void setBringsToFront(bool activates) { bringsToFront_ = activates; }

    const std::vector<DesktopCall>& calls() const { return calls_; }
    std::vector<DesktopCall> callsOf(DesktopCall::Kind kind) const;
    std::size_t count(DesktopCall::Kind kind) const;
    void clearCalls() { calls_.clear(); }

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
    QSize screenSize() const override { return screenSize_; }
    QSize fullScreenClientSize() const override { return fullScreenClientSize_; }
    QRect trayRect() const override { return trayRect_; }
    bool hasNotificationArea() const override { return hasNotificationArea_; }
    TrayKind trayKind() const override { return trayKind_; }
    QString chooseExistingFile(QWidget* parent, const QString& title, const QString& filter,
                               const QString& directory) override;
    void openDateTimeSettings() override;
    bool bringToFront(QWidget* window) override;
    void requestAttention(QWidget* window) override;

private:
    DesktopCall& record(DesktopCall::Kind kind);

    std::vector<DesktopCall> calls_;
    std::deque<MessageResult> answers_;
    std::deque<QString> chosenFiles_;
    std::function<void(const DesktopCall&)> whileBoxOpen_;
    std::deque<int> launchResults_;
    int defaultLaunchResult_ = kLaunchStarted;
    // A classic 800 x 600 desktop with a 30-pixel taskbar at the bottom and the tray
    // at its right end.
    QSize screenSize_{800, 600};
    QSize fullScreenClientSize_{800, 548};
    QRect trayRect_{720, 572, 76, 26};
    bool hasNotificationArea_ = true;
    TrayKind trayKind_ = TrayKind::Classic;
    bool bringsToFront_ = true;
};

} // namespace zw
