#include "platform/context_help.h"

#include "platform/desktop.h"

#include <QAction>
#include <QEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>
#include <QVariant>
#include <QWhatsThis>
#include <QWidget>

namespace zw {

namespace {
constexpr char kHelpNumber[] = "helpContext";
constexpr char kHelpFallback[] = "helpFallbackContext";

class MenuHelpFilter : public QObject {
public:
    MenuHelpFilter(QMenu* menu, Desktop& desktop, MenuHelp style)
        : QObject(menu), menu_(menu), desktop_(desktop), style_(style)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != menu_ || event->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
            return false;
        QAction* active = menu_->activeAction();
        const int number = active != nullptr ? helpNumber(active) : 0;
        if (number == 0)
            return true;
        // The pop-up stands beside the entry it explains, where the menu was.
        const QRect entry = menu_->actionGeometry(active);
        const QPoint beside = menu_->mapToGlobal(QPoint(entry.right() + 1, entry.top()));
        menu_->close();
        if (style_ == MenuHelp::Popup)
            desktop_.showHelpPopup(number, beside);
        else
            desktop_.showHelpContext(number);
        return true;
    }

private:
    QMenu* menu_;
    Desktop& desktop_;
    MenuHelp style_;
};

} // namespace

void enableMenuHelp(QMenu* menu, Desktop& desktop, MenuHelp style)
{
    menu->installEventFilter(new MenuHelpFilter(menu, desktop, style));
}

void setHelpNumber(QObject* control, int number)
{
    control->setProperty(kHelpNumber, number);
}

int helpNumber(const QObject* control)
{
    return control->property(kHelpNumber).toInt();
}

void setHelpFallbackNumber(QObject* control, int number)
{
    control->setProperty(kHelpFallback, number);
}

int helpContextOf(const QObject* control)
{
    const int tag = helpNumber(control);
    return tag > 0 ? tag : control->property(kHelpFallback).toInt();
}

ContextHelp::ContextHelp(Desktop& desktop, QWidget* window)
    : QObject(window), desktop_(desktop), window_(window), menu_(new QMenu(window))
{
    setObjectName(QStringLiteral("ContextHelp"));
    menu_->setObjectName(QStringLiteral("HelpPopupMenu"));
    QAction* entry = menu_->addAction(QStringLiteral("Direkt&hilfe"));
    entry->setObjectName(QStringLiteral("Direkthilfe1"));
    connect(entry, &QAction::triggered, this, [this] { desktop_.showHelpPopup(menuNumber_, menuPoint_); });
    window->installEventFilter(this);
    // X11 window managers draw no "?" button: the same mode from the keyboard.
    auto* whatsThis = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), window);
    whatsThis->setContext(Qt::WindowShortcut);
    connect(whatsThis, &QShortcut::activated, this, [] { QWhatsThis::enterWhatsThisMode(); });
}

void ContextHelp::attach(std::initializer_list<QWidget*> controls)
{
    for (QWidget* control : controls) {
        control->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(control, &QWidget::customContextMenuRequested, this, [this, control](QPoint pos) {
            // A disabled control passes the click to the one around it: the number is that
            // of the control under the pointer all the same.
            menuNumber_ = 0;
            for (const QWidget* widget = control->childAt(pos);
                 widget != nullptr && widget != control && menuNumber_ == 0; widget = widget->parentWidget())
                menuNumber_ = helpContextOf(widget);
            if (menuNumber_ == 0)
                menuNumber_ = helpContextOf(control);
            if (menuNumber_ == 0)
                return;
            menuPoint_ = control->mapToGlobal(pos);
            menu_->popup(menuPoint_);
        });
    }
}

int ContextHelp::contextAt(QPoint windowPos) const
{
    for (const QWidget* widget = window_->childAt(windowPos); widget != nullptr && widget != window_;
         widget = widget->parentWidget()) {
        if (const int number = helpContextOf(widget); number > 0)
            return number;
    }
    return 0;
}

bool ContextHelp::eventFilter(QObject* watched, QEvent* event)
{
    // A what's-this click on a control that has no text of its own reaches its window.
    if (watched == window_ && (event->type() == QEvent::WhatsThis || event->type() == QEvent::QueryWhatsThis)) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int number = contextAt(help->pos());
        if (number == 0)
            return false;
        if (event->type() == QEvent::WhatsThis)
            desktop_.showHelpPopup(number, help->globalPos());
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zw
