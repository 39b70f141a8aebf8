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
    if (!m_answers.empty())
        unexpectedHandler()(QStringLiteral("%1 queued message box answer(s) left unused").arg(m_answers.size()));
    if (!m_chosenFiles.empty())
        unexpectedHandler()(QStringLiteral("%1 queued file dialog answer(s) left unused").arg(m_chosenFiles.size()));
}

DesktopCall& ScriptedDesktop::record(DesktopCall::Kind kind)
{
    m_calls.emplace_back();
    m_calls.back().kind = kind;
    return m_calls.back();
}

std::vector<DesktopCall> ScriptedDesktop::callsOf(DesktopCall::Kind kind) const
{
    std::vector<DesktopCall> found;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(found),
                 [kind](const DesktopCall& call) { return call.kind == kind; });
    return found;
}

std::size_t ScriptedDesktop::count(DesktopCall::Kind kind) const
{
    return std::size_t(std::count_if(m_calls.begin(), m_calls.end(),
                                     [kind](const DesktopCall& call) { return call.kind == kind; }));
}

MessageResult ScriptedDesktop::messageBox(const QString& text, const QString& title, MessageIcon icon,
                                          MessageButtons buttons)
{
    MessageResult answer = dismissedResult(buttons);
    if (m_answers.empty()) {
        unexpectedHandler()(QStringLiteral("unexpected message box \"%1\": \"%2\"").arg(title, text));
    } else {
        answer = m_answers.front();
        m_answers.pop_front();
    }
    DesktopCall& call = record(DesktopCall::Kind::MessageBox);
    call.text = text;
    call.title = title;
    call.icon = icon;
    call.buttons = buttons;
    call.answer = answer;
    // A copy: the hook may make calls of its own, which move the recorded ones.
    const DesktopCall open = call;
    if (m_whileBoxOpen)
        m_whileBoxOpen(open);
    return answer;
}

int ScriptedDesktop::startApplication(const QString& file, const QStringList& arguments)
{
    int result = m_defaultLaunchResult;
    if (!m_launchResults.empty()) {
        result = m_launchResults.front();
        m_launchResults.pop_front();
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
    if (m_chosenFiles.empty()) {
        unexpectedHandler()(QStringLiteral("unexpected file dialog \"%1\"").arg(title));
        return {};
    }
    call.file = m_chosenFiles.front();
    m_chosenFiles.pop_front();
    return call.file;
}

void ScriptedDesktop::openDateTimeSettings()
{
    record(DesktopCall::Kind::OpenDateTimeSettings);
}

bool ScriptedDesktop::bringToFront(QWidget* window)
{
    record(DesktopCall::Kind::BringToFront).window = window;
    return m_bringsToFront && window != nullptr;
}

void ScriptedDesktop::requestAttention(QWidget* window)
{
    record(DesktopCall::Kind::RequestAttention).window = window;
}

} // namespace zw
