#include "app/info_window.h"

#include "clock/ui/app_icon.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zw {

InfoWindow::InfoWindow(const QString& dataDirectory, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("Info"));
    setModal(true);

    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(appIcon().pixmap(48, 48));
    auto* text = new QLabel(QStringLiteral("<b style=\"font-size:14pt\">Zeitwache 99</b><br>"
                                           "Version 2.3<br><br>"
                                           "Desktop-Uhr und Terminplaner<br>"
                                           "© 2026 Die Zeitwache-Entwickler"));
    text->setObjectName(QStringLiteral("Label1"));
    // Where the appointments are is the first thing asked when they are to be backed up
    // or moved; the path can be selected and copied.
    auto* place = new QLabel(QStringLiteral("Termine und Einstellungen liegen in:<br><tt>%1</tt>")
                                 .arg(QDir::toNativeSeparators(dataDirectory).toHtmlEscaped()));
    place->setObjectName(QStringLiteral("Label2"));
    place->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Not wrapped: a wrapped label in a fixed-size dialog is given too little height and
    // runs under the button; a long path widens the window instead.
    auto* column = new QVBoxLayout;
    column->addWidget(text);
    column->addSpacing(8);
    column->addWidget(place);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addSpacing(12);
    row->addLayout(column, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace zw
