#pragma once
// Context help of one window: every control carries a help number, a right-click on a
// control offers "Direkt&hilfe" for that number, and in what's-this mode (the title bar's
// "?" where the window manager draws one, or Shift+F1 everywhere) a click on a control
// shows its pop-up text.
#include <QObject>
#include <QPoint>

#include <initializer_list>

class QMenu;
class QWidget;

namespace zw {

class Desktop;

// The control's help number (its tag). A number of 0 means none.
void setHelpNumber(QObject* control, int number);
int helpNumber(const QObject* control);
// The number a control without a tag of its own is known by in the help.
void setHelpFallbackNumber(QObject* control, int number);
// The number the help shows for a control: its tag, else its fallback number.
int helpContextOf(const QObject* control);

// F1 on a highlighted entry of the menu opens the help for the entry's help number: as a
// pop-up beside the entry when the menu belongs to a window with context help (a dialog),
// else in the help window. An entry without a number opens nothing.
enum class MenuHelp { Popup, Window };
void enableMenuHelp(QMenu* menu, Desktop& desktop, MenuHelp style);

class ContextHelp : public QObject {
    Q_OBJECT
public:
    // Lives as long as the window (it is its child).
    ContextHelp(Desktop& desktop, QWidget* window);

    // A right-click on one of the controls opens the "Direkt&hilfe" menu for its number; on
    // a container, for the number of the (perhaps disabled) control under the pointer.
    void attach(std::initializer_list<QWidget*> controls);
    // The menu, for tests.
    QMenu* menu() const { return menu_; }
    // The number of what lies at the window point: the control there, or the nearest
    // widget around it that carries one.
    int contextAt(QPoint windowPos) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Desktop& desktop_;
    QWidget* window_;
    QMenu* menu_;
    int menuNumber_ = 0;
    QPoint menuPoint_;
};

} // namespace zw
