#include "manager/ui/centred_dialog.h"

#include "platform/classic_dialog.h"
#include "platform/desktop.h"

namespace zw {

CentredDialog::CentredDialog(const Desktop& desktop, QWidget* parent)
    : QDialog(parent, fixedDialogFlags()), screen_(desktop)
{
}

void CentredDialog::setVisible(bool visible)
{
    // Placed before the window exists on the screen: a move then places the frame, and it
    // never appears elsewhere first (Qt would centre it over the manager). Before its
    // first showing the frame is not known; the owner's, drawn by the same window
    // manager, stands in for it.
    if (visible && !isVisible()) {
        QSize frame = frameGeometry().size() - size();
        if (frame.isNull() && parentWidget() != nullptr) {
            const QWidget* owner = parentWidget()->window();
            frame = owner->frameGeometry().size() - owner->size();
        }
        const QSize own = size() + frame;
        const QSize screen = screen_.screenSize();
        move((screen.width() - own.width()) / 2, (screen.height() - own.height()) / 2);
    }
    QDialog::setVisible(visible);
}

} // namespace zw
