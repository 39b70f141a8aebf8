#include "manager/manager_dialog.h"

#include "clock/placement.h"
#include "common/cp1252.h"
#include "common/zeitwache_error.h"
#include "manager/appointment_list_model.h"
#include "platform/desktop.h"
#include "store/appointment_list.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

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

    rows_ = new AppointmentListModel(this);
    list_ = new QListView(listPage);
    list_->setObjectName(QStringLiteral("MultiList1"));
    list_->setProperty("helpContext", kHelpList);
    list_->setModel(rows_);
    // The rows are alike (see fillList): the view asks one of them for its size, not 100,000.
    list_->setUniformItemSizes(true);
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
    // All rows get the size of the longest line, so that none is cut short and the
    // horizontal scroll bar reaches the end of each; the view then measures no row itself.
    const std::vector<std::string>& lines = appointments_.lines();
    const auto shorter = [](const std::string& a, const std::string& b) { return a.size() < b.size(); };
    const auto longest = std::max_element(lines.begin(), lines.end(), shorter);
    QStyleOptionViewItem option;
    option.initFrom(list_);
    option.font = list_->font();
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = longest == lines.end() ? QString() : QString::fromStdString(cp1252ToUtf8(*longest));
    QSize rowSize = list_->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), list_);
    // Bytes are not pixels: a few wide letters in a line a little shorter still fit.
    rowSize.rwidth() += 4 * option.fontMetrics.averageCharWidth();
    rows_->setLines(lines, rowSize);
}

void ManagerDialog::deleteRow(int row)
{
    if (!rows_->removeLineRow(row))
        throw errors::listIndexOutOfRange();
}

void ManagerDialog::showRowInList(int row)
{
    showManager();
    pages_->setCurrentIndex(kListPage);
    list_->clearSelection();
    if (row < 0 || row >= rows_->rowCount())
        throw errors::listIndexOutOfRange();
    const QModelIndex index = rows_->index(row);
    list_->selectionModel()->select(index, QItemSelectionModel::Select);
    list_->scrollTo(index);
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
