#include "clock/ui/clock_menus.h"

#include "clock/face.h"
#include "platform/context_help.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace zw {

namespace {

QAction* addEntry(QMenu* menu, const char* objectName, const QString& caption, int helpContext,
                  bool checkable = false)
{
    auto* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(objectName));
    action->setCheckable(checkable);
    if (helpContext != 0)
        setHelpNumber(action, helpContext);
    return action;
}

void addSeparator(QMenu* menu, const char* objectName, int helpContext)
{
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QString::fromLatin1(objectName));
    setHelpNumber(separator, helpContext);
}

} // namespace

TrayMenu buildTrayMenu(QWidget* parent)
{
    TrayMenu m;
    m.menu = new QMenu(parent);
    m.menu->setObjectName(QStringLiteral("PopupMenu1"));
    const int h = kTrayMenuHelpContext;
    m.manager = addEntry(m.menu, "Terminmanager1", QStringLiteral("Termin&manager ..."), h);
    m.menu->setDefaultAction(m.manager);
    m.clock = addEntry(m.menu, "Uhr1", QStringLiteral("Uhr"), h, true);
    m.clock->setChecked(true);
    addSeparator(m.menu, "N3", h);
    m.systemTime = addEntry(m.menu, "Systemzeitndern1", QStringLiteral("Systemzeit ändern ..."), h);
    addSeparator(m.menu, "N4", h);
    m.helpTopics = addEntry(m.menu, "Hilfethemen1", QStringLiteral("Hilfethemen"), h);
    m.info = addEntry(m.menu, "Info1", QStringLiteral("Info"), h);
    addSeparator(m.menu, "N1", h);
    m.quit = addEntry(m.menu, "Beenden1", QStringLiteral("Beenden"), h);
    return m;
}

ClockMenu buildClockMenu(QWidget* parent)
{
    ClockMenu m;
    m.menu = new QMenu(parent);
    m.menu->setObjectName(QStringLiteral("PopupMenu2"));
    const int h = kClockMenuHelpContext;
    m.stayOnTop = addEntry(m.menu, "ImmerimVordergrund1", QStringLiteral("&Immer im Vordergrund"), h, true);
    m.stayOnTop->setChecked(true);
    m.extended = addEntry(m.menu, "ErweiterteAnzeige1", QStringLiteral("Erweiterte &Anzeige"), h, true);
    addSeparator(m.menu, "N5", h);
    m.styleGroup = new QActionGroup(m.menu);
    m.styleGroup->setExclusive(true);
    const auto& styles = displayStyles();
    for (size_t i = 0; i < styles.size(); ++i) {
        const auto& style = styles[i];
        // The last two style entries carry no help number.
        int help = style.number == 4 || style.number == 5 ? 0 : h;
        QAction* action = addEntry(m.menu, std::string(style.menuEntry).c_str(),
                                   QString::fromUtf8(style.caption.data(), static_cast<qsizetype>(style.caption.size())),
                                   help, true);
        action->setActionGroup(m.styleGroup);
        action->setChecked(&style == &initialDisplayStyle());
        m.styles[i] = action;
    }
    addSeparator(m.menu, "N2", h);
    m.manager = addEntry(m.menu, "Terminmanager2", QStringLiteral("&Terminmanager"), 0);
    m.menu->setDefaultAction(m.manager);
    m.hide = addEntry(m.menu, "Schlieen1", QStringLiteral("Uhr &schließen"), h);
    return m;
}

} // namespace zw
