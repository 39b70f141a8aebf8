#include "platform/classic_dialog.h"

#include "platform/context_help.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLatin1String>
#include <QString>

namespace zw {

ContextHelp* setUpDialog(QDialog& dialog, Desktop& desktop, const char* name, const QString& title, bool modal)
{
    dialog.setObjectName(QLatin1String(name));
    dialog.setWindowTitle(title);
    dialog.setModal(modal);
    return new ContextHelp(desktop, &dialog);
}

void fixClassicSize(QWidget& dialog, QSize classic)
{
    dialog.setFixedSize(classic.expandedTo(dialog.sizeHint()));
}

QHBoxLayout* buttonRow(std::initializer_list<QWidget*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget* button : buttons)
        row->addWidget(button);
    return row;
}

} // namespace zw
