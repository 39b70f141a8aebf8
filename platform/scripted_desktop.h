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
    void queueAnswer(MessageResult answer) { m_answers.push_back(answer); }
    std::size_t pendingAnswers() const { return m_answers.size(); }
    // Runs while a box is "open", before it answers: the place where the real box
    // would let timers fire in its nested event loop.
    void setWhileBoxOpen(std::function<void(const DesktopCall&)> hook) { m_whileBoxOpen = std::move(hook); }

    // File dialogs take the queued files in order (an empty one is a Cancel); one with
    // none left is unexpected and cancels.
    void queueChosenFile(const QString& file) { m_chosenFiles.push_back(file); }

    // startApplication returns the queued results in order, then the default.
    void queueLaunchResult(int result) { m_launchResults.push_back(result); }
    void setDefaultLaunchResult(int result) { m_defaultLaunchResult = result; }

    void setScreenSize(QSize size) { m_screenSize = size; }
    void setFullScreenClientSize(QSize size) { m_fullScreenClientSize = size; }
    void setTrayRect(QRect rect) { m_trayRect = rect; }
    void setHasNotificationArea(bool has) { m_hasNotificationArea = has; }
    void setTrayKind(TrayKind kind) { m_trayKind = kind; }
    // Whether bringToFront succeeds in making a window the active one.
    void setBringsToFront(bool activates) { m_bringsToFront = activates; }

    const std::vector<DesktopCall>& calls() const { return m_calls; }
    std::vector<DesktopCall> callsOf(DesktopCall::Kind kind) const;
    std::size_t count(DesktopCall::Kind kind) const;
    void clearCalls() { m_calls.clear(); }

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
    QSize screenSize() const override { return m_screenSize; }
    QSize fullScreenClientSize() const override { return m_fullScreenClientSize; }
    QRect trayRect() const override { return m_trayRect; }
    bool hasNotificationArea() const override { return m_hasNotificationArea; }
    TrayKind trayKind() const override { return m_trayKind; }
    QString chooseExistingFile(QWidget* parent, const QString& title, const QString& filter,
                               const QString& directory) override;
    void openDateTimeSettings() override;
    bool bringToFront(QWidget* window) override;
    void requestAttention(QWidget* window) override;

private:
    DesktopCall& record(DesktopCall::Kind kind);

    std::vector<DesktopCall> m_calls;
    std::deque<MessageResult> m_answers;
    std::deque<QString> m_chosenFiles;
    std::function<void(const DesktopCall&)> m_whileBoxOpen;
    std::deque<int> m_launchResults;
    int m_defaultLaunchResult = kLaunchStarted;
    // A classic 800 x 600 desktop with a 30-pixel taskbar at the bottom and the tray
    // at its right end.
    QSize m_screenSize{800, 600};
    QSize m_fullScreenClientSize{800, 548};
    QRect m_trayRect{720, 572, 76, 26};
    bool m_hasNotificationArea = true;
    TrayKind m_trayKind = TrayKind::Classic;
    bool m_bringsToFront = true;
};

} // namespace zw
