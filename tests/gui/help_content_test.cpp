// Every help number a control or menu entry of the program carries, and every topic the
// program opens, has a text in the help source that ships with it.
#include "app/zeitwache_app.h"
#include "clock/ui/clock_window.h"
#include "manager/ui/manager_dialog.h"
#include "platform/context_help.h"
#include "platform/help_viewer.h"
#include "platform/scripted_desktop.h"
#include "qt_printers.h"
#include "test_clock.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <set>

using namespace zw;

namespace {

HelpContent shippedHelp()
{
    QFile file(QStringLiteral(ZEITWACHE_HELP_SOURCE));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << ZEITWACHE_HELP_SOURCE;
    return parseHelpSource(QString::fromUtf8(file.readAll()));
}

TEST(HelpContent, EveryHelpNumberAndTopicOfTheProgramHasAText)
{
    QTemporaryDir dir;
    ScriptedDesktop desktop;
    zw::testing::TestClock clock;
    ZeitwacheApp app(Places::inOneDirectory(dir.path()), desktop, clock);
    app.start();
    // Built at their first use: here, before the program's controls are counted.
    app.manager();
    app.info();

    std::set<int> numbers;
    for (QWidget* widget : QApplication::allWidgets()) {
        if (const int n = helpContextOf(widget); n > 0)
            numbers.insert(n);
        for (const QAction* action : widget->findChildren<QAction*>()) {
            if (const int n = helpContextOf(action); n > 0)
                numbers.insert(n);
        }
    }
    // The program is whole: the clock's menus, the manager's pages and list menu.
    for (int expected : {333, 222, 1, 11, 18, 19, 100, 106, 1000, 40, 48, 50, 53, 60, 65})
        EXPECT_TRUE(numbers.count(expected)) << expected;

    // The topics, as the program asks for them.
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&app.clockWindow(), &f1);
    app.manager().showManager();
    QApplication::setActiveWindow(&app.manager());
    app.manager().findChild<QWidget*>(QStringLiteral("Button8"))->setFocus();
    QMetaObject::invokeMethod(app.manager().findChild<QObject*>(QStringLiteral("Button8")), "click");

    const HelpContent help = shippedHelp();
    for (const int n : numbers)
        EXPECT_FALSE(help.numberedText(n).isEmpty() || help.numberedText(n) == kMissingHelpText) << n;
    const auto topics = desktop.callsOf(DesktopCall::Kind::HelpTopic);
    ASSERT_EQ(topics.size(), 2u);
    for (const DesktopCall& call : topics)
        EXPECT_NE(help.topic(call.text), QString::fromUtf8(kMissingHelpText)) << call.text.toStdString();
    // Every topic the contents page links to exists.
    for (const QString& id : help.topicOrder)
        EXPECT_FALSE(help.topic(id).trimmed().isEmpty()) << id.toStdString();
}

} // namespace
