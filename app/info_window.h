#pragma once
#include <QDialog>
#include <QString>

namespace zw {

// `TForm3`: the program's name, version and maker, and the directory that holds the
// appointments, shown modally from the tray menu.
class InfoWindow : public QDialog {
    Q_OBJECT
public:
    explicit InfoWindow(const QString& dataDirectory, QWidget* parent = nullptr);
};

} // namespace zw
