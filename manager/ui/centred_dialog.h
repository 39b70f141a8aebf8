#pragma once
// The shape the manager's small modal dialogs share: a fixed-size dialog window with the
// system menu and the help button in its title bar, opening centred on the screen.
#include <QDialog>

namespace zw {

class Desktop;

class CentredDialog : public QDialog {
public:
    CentredDialog(const Desktop& desktop, QWidget* parent);

    void setVisible(bool visible) override;

private:
    const Desktop& screen_;
};

} // namespace zw
