#include "manager/manager_dialog.h"

#include "clock/placement.h"
#include "common/cp1252.h"
#include "common/zeitwache_error.h"
#include "platform/desktop.h"
#include "store/appointment_list.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zw {

namespace {
constexpr int kHelpClose = 12;
constexpr int kHelpHelp = 13;
constexpr int kHelpList = 18;
constexpr int kListPage = 1;
} // namespace

ManagerDialog::ManagerDialog(Desktop& desktop, const AppointmentList& list, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowContextHelpButtonHint),
      desktop_(desktop), appointments_(list)
{
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Terminmanager"));
    setFixedSize(kWidth, kHeight);
    setModal(false);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->setGeometry(8, 8, kWidth - 16, kHeight - 52);
    auto* editorPage = new QWidget;
    editorPage->setObjectName(QStringLiteral("TabSheet1"));
    pages_->addTab(editorPage, QStringLiteral("Termin bearbeiten"));
    auto* listPage = new QWidget;
    listPage->setObjectName(QStringLiteral("TabSheet2"));
    pages_->addTab(listPage, QStringLiteral("Vorhandene Termine"));

    list_ = new QListWidget(listPage);
    list_->setObjectName(QStringLiteral("MultiList1"));
    list_->setProperty("helpContext", kHelpList);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* listLayout = new QVBoxLayout(listPage);
    listLayout->addWidget(list_);

    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    close->setObjectName(QStringLiteral("Button1"));
    close->setProperty("helpContext", kHelpClose);
    close->setDefault(true);
    close->setGeometry(kWidth - 8 - 2 * 87, kHeight - 36, 84, 25);
    connect(close, &QPushButton::clicked, this, &QDialog::reject); // Esc does the same

    auto* help = new QPushButton(QStringLiteral("Hilfe"), this);
    help->setObjectName(QStringLiteral("Button8"));
    help->setProperty("helpContext", kHelpHelp);
    help->setGeometry(kWidth - 8 - 84, kHeight - 36, 84, 25);
    connect(help, &QPushButton::clicked, this, &ManagerDialog::showHelp);

    fillList();
}

void ManagerDialog::fillList()
{
    list_->clear();
    list_->addItem(QString()); // the reserved row 0 under the header
    for (const std::string& line : appointments_.lines())
        list_->addItem(QString::fromStdString(cp1252ToUtf8(line)));
}

void ManagerDialog::deleteRow(int row)
{
    if (row < 1 || row >= list_->count())
        throw errors::listIndexOutOfRange();
    delete list_->takeItem(row);
}

void ManagerDialog::showRowInList(int row)
{
    showManager();
    pages_->setCurrentIndex(kListPage);
    list_->clearSelection();
    if (row < 0 || row >= list_->count())
        throw errors::listIndexOutOfRange();
    list_->item(row)->setSelected(true);
    list_->scrollToItem(list_->item(row));
}

void ManagerDialog::showManager()
{
    show();
    raise();
    activateWindow();
}

void ManagerDialog::showEvent(QShowEvent* event)
{
    placeNextToTray();
    QDialog::showEvent(event);
}

void ManagerDialog::placeNextToTray()
{
    const QRect tray = desktop_.trayRect();
    const QSize full = desktop_.fullScreenClientSize();
    const QSize screen = desktop_.screenSize();
    const QSize own = frameGeometry().size();
    Point pos = traySetWindowPos({tray.x(), tray.y(), tray.width(), tray.height()}, true, {own.width(), own.height()},
                                 {full.width(), full.height()}, {screen.width(), screen.height()});
    if (screen.height() < 600)
        pos.y = 0;
    move(pos.x, pos.y);
}

void ManagerDialog::showHelp()
{
    desktop_.showHelpTopic(QStringLiteral("TERMINMANAGER"));
}

void ManagerDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        showHelp();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace zw
