#pragma once
#include <QDialog>

namespace zw {

// `TForm3`: the program's name, version and maker, shown modally from the tray menu.
class InfoWindow : public QDialog {
    Q_OBJECT
public:
    explicit InfoWindow(QWidget* parent = nullptr);
};

} // namespace zw
