#include "platform/scripted_desktop.h"

#include <algorithm>
#include <iterator>

namespace zw {

namespace {
ScriptedDesktop::UnexpectedHandler& unexpectedHandler()
{
    static ScriptedDesktop::UnexpectedHandler handler = [](const QString& what) {
        qWarning("ScriptedDesktop: %s", qPrintable(what));
    };
    return handler;
}
} // namespace

ScriptedDesktop::UnexpectedHandler ScriptedDesktop::setUnexpectedHandler(UnexpectedHandler handler)
{
    return std::exchange(unexpectedHandler(), std::move(handler));
}

ScriptedDesktop::~ScriptedDesktop()
{
    if (!answers_.empty())
        unexpectedHandler()(QStringLiteral("%1 queued message box answer(s) left unused").arg(answers_.size()));
    if (!chosenFiles_.empty())
        unexpectedHandler()(QStringLiteral("%1 queued file dialog answer(s) left unused").arg(chosenFiles_.size()));
}

DesktopCall& ScriptedDesktop::record(DesktopCall::Kind kind)
{
    calls_.emplace_back();
    calls_.back().kind = kind;
    return calls_.back();
}

std::vector<DesktopCall> ScriptedDesktop::callsOf(DesktopCall::Kind kind) const
{
    std::vector<DesktopCall> found;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(found),
                 [kind](const DesktopCall& call) { return call.kind == kind; });
    return found;
}

std::size_t ScriptedDesktop::count(DesktopCall::Kind kind) const
{
    return std::size_t(std::count_if(calls_.begin(), calls_.end(),
                                     [kind](const DesktopCall& call) { return call.kind == kind; }));
}

MessageResult ScriptedDesktop::messageBox(const QString& text, const QString& title, MessageIcon icon,
                                          MessageButtons buttons)
{
    MessageResult answer = dismissedResult(buttons);
    if (answers_.empty()) {
        unexpectedHandler()(QStringLiteral("unexpected message box \"%1\": \"%2\"").arg(title, text));
    } else {
        answer = answers_.front();
        answers_.pop_front();
    }
    DesktopCall& call = record(DesktopCall::Kind::MessageBox);
    call.text = text;
    call.title = title;
    call.icon = icon;
    call.buttons = buttons;
    call.answer = answer;
    // A copy: the hook may make calls of its own, which move the recorded ones.
    const DesktopCall open = call;
    if (whileBoxOpen_)
        whileBoxOpen_(open);
    return answer;
}

int ScriptedDesktop::startApplication(const QString& file, const QStringList& arguments)
{
    int result = defaultLaunchResult_;
    if (!launchResults_.empty()) {
        result = launchResults_.front();
        launchResults_.pop_front();
    }
    DesktopCall& call = record(DesktopCall::Kind::StartApplication);
    call.file = file;
    call.arguments = arguments;
    call.result = result;
    return result;
}

void ScriptedDesktop::playWave(const QString& absolutePath)
{
    record(DesktopCall::Kind::PlayWave).file = absolutePath;
}

void ScriptedDesktop::beep()
{
    record(DesktopCall::Kind::Beep);
}

void ScriptedDesktop::showHelpTopic(const QString& topicId)
{
    record(DesktopCall::Kind::HelpTopic).text = topicId;
}

void ScriptedDesktop::showHelpContents()
{
    record(DesktopCall::Kind::HelpContents);
}

void ScriptedDesktop::showHelpTopics()
{
    record(DesktopCall::Kind::HelpTopics);
}

void ScriptedDesktop::showHelpContext(int contextNumber)
{
    record(DesktopCall::Kind::HelpContext).number = contextNumber;
}

void ScriptedDesktop::showHelpPopup(int contextNumber, QPoint globalPos)
{
    DesktopCall& call = record(DesktopCall::Kind::HelpPopup);
    call.number = contextNumber;
    call.point = globalPos;
}

void ScriptedDesktop::closeHelp()
{
    record(DesktopCall::Kind::CloseHelp);
}

QString ScriptedDesktop::chooseExistingFile(QWidget*, const QString& title, const QString& filter,
                                            const QString& directory)
{
    DesktopCall& call = record(DesktopCall::Kind::ChooseFile);
    call.title = title;
    call.filter = filter;
    call.directory = directory;
    if (chosenFiles_.empty()) {
        unexpectedHandler()(QStringLiteral("unexpected file dialog \"%1\"").arg(title));
        return {};
    }
    call.file = chosenFiles_.front();
    chosenFiles_.pop_front();
    return call.file;
}

void ScriptedDesktop::openDateTimeSettings()
{
    record(DesktopCall::Kind::OpenDateTimeSettings);
}

bool ScriptedDesktop::bringToFront(QWidget* window)
{
    record(DesktopCall::Kind::BringToFront).window = window;
    return bringsToFront_ && window != nullptr;
}

void ScriptedDesktop::requestAttention(QWidget* window)
{
    record(DesktopCall::Kind::RequestAttention).window = window;
}

} // namespace zw
