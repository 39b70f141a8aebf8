#pragma once
// What every classic dialog repeats: its title bar, its name, title, modality and context
// help, its size and its row of buttons.
#include <QSize>
#include <Qt>

#include <initializer_list>

class QDialog;
class QHBoxLayout;
class QString;
class QWidget;

namespace zw {

class ContextHelp;
class Desktop;

// A title bar with the system menu, the close box and the "?" button, and nothing to
// minimise or maximise the window with.
constexpr Qt::WindowFlags classicDialogFlags()
{
    return Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
           Qt::WindowContextHelpButtonHint;
}
// The same for a dialog that keeps its size.
constexpr Qt::WindowFlags fixedDialogFlags()
{
    return classicDialogFlags() | Qt::MSWindowsFixedSizeDialogHint;
}

// The name tests and the help find the dialog by, its title and modality, and its context
// help, which the dialog owns.
ContextHelp* setUpDialog(QDialog& dialog, Desktop& desktop, const char* name, const QString& title, bool modal);
// The classic size, or more where the desktop's font needs it.
void fixClassicSize(QWidget& dialog, QSize classic);
// The buttons in their order at the right end of a row.
QHBoxLayout* buttonRow(std::initializer_list<QWidget*> buttons);

} // namespace zw
