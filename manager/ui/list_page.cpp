#include "manager/ui/list_page.h"

#include "common/zeitwache_error.h"
#include "manager/ui/appointment_list_model.h"
#include "platform/context_help.h"
#include "platform/qt_text.h"
#include "store/appointment_list.h"

#include <QItemSelectionModel>
#include <QListView>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QVBoxLayout>

#include <algorithm>

namespace zw {

namespace {
constexpr int kHelpList = 18;
} // namespace

ListPage::ListPage(const AppointmentList& list, ContextHelp& help, QWidget* parent)
    : QWidget(parent), appointments_(list)
{
    setObjectName(QStringLiteral("TabSheet2"));
    rows_ = new AppointmentListModel(this);
    list_ = new QListView(this);
    list_->setObjectName(QStringLiteral("MultiList1"));
    list_->setAccessibleName(QStringLiteral("Vorhandene Termine"));
    setHelpNumber(list_, kHelpList);
    list_->setModel(rows_);
    // The rows are alike (see fill): the view asks one of them for its size, not 100,000.
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    help.attach(list_);
    connect(list_, &QListView::doubleClicked, this, [this] { emit editRequested(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    fill();
}

void ListPage::fill()
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
    option.text = longest == lines.end() ? QString() : fromCp1252(*longest);
    QSize rowSize = list_->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), list_);
    // Bytes are not pixels: a few wide letters in a line a little shorter still fit.
    rowSize.rwidth() += 4 * option.fontMetrics.averageCharWidth();
    rows_->setLines(lines, rowSize);
}

void ListPage::removeEntry(std::size_t entry)
{
    if (!rows_->removeLineRow(static_cast<int>(entry) + 1))
        throw errors::listIndexOutOfRange();
}

void ListPage::showEntry(std::size_t entry)
{
    list_->clearSelection();
    const int row = static_cast<int>(entry) + 1;
    if (row >= rows_->rowCount())
        throw errors::listIndexOutOfRange();
    const QModelIndex index = rows_->index(row);
    list_->selectionModel()->select(index, QItemSelectionModel::Select);
    list_->scrollTo(index);
}

std::size_t ListPage::markedEntry() const
{
    int last = 0;
    for (const QModelIndex& index : list_->selectionModel()->selectedIndexes())
        last = std::max(last, index.row());
    return last > 0 ? static_cast<std::size_t>(last - 1) : 0;
}

} // namespace zw
