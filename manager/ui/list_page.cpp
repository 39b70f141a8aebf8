#include "manager/ui/list_page.h"

#include "common/zeitwache_error.h"
#include "manager/list_rows.h"
#include "manager/ui/busy_pointer.h"
#include "platform/context_help.h"
#include "platform/desktop.h"
#include "platform/dialog_controls.h"
#include "platform/qt_text.h"
#include "scheduler/appointment_book.h"
#include "widgets/explorer_button.h"
#include "widgets/explorer_pictures.h"
#include "widgets/multi_list.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace zw {

using dialog::named;

namespace {
constexpr int kHeaderHeight = 18;
constexpr int kClassicDateWidth = 65;
constexpr int kClassicRowHeight = 16;
constexpr int kClassicButtonWidth = 80;
constexpr int kClassicButtonHeight = 43;

std::vector<int> rowsOf(const std::vector<std::size_t>& entries)
{
    std::vector<int> rows;
    rows.reserve(entries.size());
    for (const std::size_t entry : entries)
        rows.push_back(static_cast<int>(entry) + 1);
    return rows;
}
} // namespace

// Keeps the rows in step with the AppointmentList as it changes.
class ListPage::Follower : public AppointmentList::Observer {
public:
    Follower(ListPage& page, AppointmentList& list) : page_(page), list_(list) { list_.addObserver(this); }
    ~Follower() override { list_.removeObserver(this); }
    Follower(const Follower&) = delete;
    Follower& operator=(const Follower&) = delete;

    void entriesRemoved(const std::vector<size_t>& positions) override { page_.followRemovals(positions); }
    void entryInserted(size_t pos) override { page_.followInsert(pos); }
    void entryChanged(size_t pos) override { page_.list_->providedRowChanged(static_cast<int>(pos) + 1); }
    void entriesReplaced() override { page_.fill(); }

private:
    ListPage& page_;
    AppointmentList& list_;
};

ListPage::ListPage(Desktop& desktop, AppointmentBook& book, ContextHelp& help, QWidget* parent)
    : QWidget(parent), desktop_(desktop), book_(book)
{
    setObjectName(QStringLiteral("TabSheet2"));
    list_ = named(new MultiList, "MultiList1", 18, QStringLiteral("Vorhandene Termine"));
    list_->setMultiSelect(true);
    list_->setHeaderSections({QStringLiteral("Datum"), QStringLiteral("Uhrzeit"), QStringLiteral("Wiederholung"),
                              QStringLiteral("Aktiv"), QStringLiteral("Meldung")});
    // The classic widths, or what the desktop's font needs for a whole date.
    const QFontMetrics metrics = list_->fontMetrics();
    list_->setSectionWidth(0, std::max(kClassicDateWidth, metrics.horizontalAdvance(QStringLiteral(" 00.00.0000")) + 8));
    list_->setItemHeight(std::max(kClassicRowHeight, metrics.height() + 2));
    list_->setHeaderHeight(0);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { menu_->popup(list_->viewport()->mapToGlobal(pos)); });
    // A double click beside the rows of a filled list means no appointment; on an empty
    // list it still asks for one and is told there is none.
    connect(list_, &MultiList::rowDoubleClicked, this, [this](int row) {
        if (row > 0 || book_.list().count() == 0)
            emit editRequested();
    });
    connect(list_, &MultiList::markingChanged, this, &ListPage::updateCommands);

    buildButtons(help);
    buildMenu();
    follower_ = std::make_unique<Follower>(*this, book_.list());
    fill();
}

ListPage::~ListPage() = default;

ExplorerButton* ListPage::button(const char* name, const char* caption, const char* hint, int help, int picture)
{
    auto* b = named(new ExplorerButton, name, help);
    b->setCaption(QString::fromUtf8(caption));
    b->setToolTip(QString::fromUtf8(hint));
    b->setBitmap(explorerPicture(static_cast<ExplorerPicture>(picture), devicePixelRatioF()));
    // The classic size, wider where the desktop's font needs it for the caption.
    b->setFixedSize(std::max(kClassicButtonWidth, b->fontMetrics().horizontalAdvance(b->text()) + 12),
                    std::max(kClassicButtonHeight, kExplorerPictureSize + b->fontMetrics().height() + 8));
    return b;
}

void ListPage::buildButtons(ContextHelp& help)
{
    editButton_ = button("ExplorerButton1", "Bearbeiten", "Markierten Termin bearbeiten", 14,
                         static_cast<int>(ExplorerPicture::Edit));
    deleteButton_ = button("ExplorerButton2", "Löschen", "Markierte Termine löschen", 15,
                           static_cast<int>(ExplorerPicture::Delete));
    propertiesButton_ = button("ExplorerButton4", "Eigenschaften", "Eigenschaften des markierten Termins", 16,
                               static_cast<int>(ExplorerPicture::Properties));
    auto* search =
        button("ExplorerButton3", "Suchen", "Termine suchen", 17, static_cast<int>(ExplorerPicture::Search));
    connect(editButton_, &ExplorerButton::clicked, this, &ListPage::editRequested);
    connect(deleteButton_, &ExplorerButton::clicked, this, &ListPage::deleteMarked);
    connect(propertiesButton_, &ExplorerButton::clicked, this, &ListPage::propertiesRequested);
    connect(search, &ExplorerButton::clicked, this, &ListPage::searchRequested);

    auto* separator = new QFrame;
    separator->setObjectName(QStringLiteral("Bevel1"));
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    for (QWidget* w : {static_cast<QWidget*>(editButton_), static_cast<QWidget*>(deleteButton_),
                       static_cast<QWidget*>(propertiesButton_), static_cast<QWidget*>(separator),
                       static_cast<QWidget*>(search)})
        buttons->addWidget(w);
    buttons->addStretch(1);
    help.attach({editButton_, deleteButton_, propertiesButton_, search});

    auto* page = new QVBoxLayout(this);
    page->addLayout(buttons);
    page->addWidget(list_, 1);
}

QAction* ListPage::action(const char* name, const char* caption, int help, void (ListPage::*command)())
{
    QAction* a = menu_->addAction(QString::fromUtf8(caption));
    a->setObjectName(QLatin1String(name));
    setHelpNumber(a, help);
    connect(a, &QAction::triggered, this, command);
    // Its shortcut works wherever the focus is on this page, not on the editor page.
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(a);
    return a;
}

void ListPage::buildMenu()
{
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("PopupMenu2"));
    editAction_ = action("ndern1", "&Bearbeiten", 100, &ListPage::editRequested);
    deleteAction_ = action("Lschen1", "&Löschen", 101, &ListPage::deleteMarked);
    deleteAction_->setShortcut(QKeySequence(Qt::Key_Delete));
    propertiesAction_ = action("Eigenschaften1", "&Eigenschaften ...", 102, &ListPage::propertiesRequested);
    menu_->addSeparator();
    action("Suchen1", "&Suchen ...", 103, &ListPage::searchRequested)->setShortcut(QKeySequence(Qt::Key_F3));
    menu_->addSeparator();
    action("Allesmarkieren1", "Alles &markieren", 104, &ListPage::markAll)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    action("abgelaufeneTerminemarkieren1", "&Abgelaufene Termine markieren ...", 105,
           &ListPage::markExpiredRequested);
    action("Markierungumkehren1", "Markierung &umkehren", 106, &ListPage::invertMarks);
    enableMenuHelp(menu_, desktop_, MenuHelp::Popup);
}

void ListPage::fill()
{
    const BusyPointer busy;
    const AppointmentList& lines = book_.list();
    // A row is built from its line only when it is drawn: filling 100,000 costs nothing.
    list_->setRows(static_cast<int>(lines.count()), [&lines](int row) {
        const auto entry = static_cast<std::size_t>(row - 1);
        return entry < lines.count() ? fromCp1252(listRowText(lines.get(entry))) : QString();
    });
    showHeaderOnceFilled();
    updateCommands();
}

void ListPage::followRemovals(const std::vector<std::size_t>& positions)
{
    // The view takes each removed run apart on its own; many of them are cheaper as one
    // filling with the surviving marks put back where their appointments now stand.
    constexpr std::size_t kRowByRowLimit = 64;
    if (positions.size() <= kRowByRowLimit) {
        list_->providedRowsRemoved(rowsOf(positions));
    } else {
        std::vector<int> kept;
        for (const int row : list_->selectedRows()) {
            const auto entry = static_cast<std::size_t>(row - 1);
            const auto before = std::lower_bound(positions.begin(), positions.end(), entry);
            if (row > 0 && (before == positions.end() || *before != entry))
                kept.push_back(row - static_cast<int>(before - positions.begin()));
        }
        const int scrolled = list_->verticalScrollBar()->value();
        fill();
        list_->setSelectedRows(kept);
        list_->verticalScrollBar()->setValue(scrolled);
    }
    updateCommands();
}

void ListPage::followInsert(std::size_t entry)
{
    list_->providedRowInserted(static_cast<int>(entry) + 1);
    showHeaderOnceFilled();
    updateCommands();
}

void ListPage::showHeaderOnceFilled()
{
    // The header shows from the first filling with a row on, and stays.
    if (book_.list().count() > 0)
        list_->setHeaderHeight(kHeaderHeight);
}

void ListPage::updateCommands()
{
    const ListCommandStates states =
        listCommandStates(static_cast<std::size_t>(list_->selectedCount()), book_.list().count());
    editButton_->setEnabled(states.edit);
    editAction_->setEnabled(states.edit);
    deleteButton_->setEnabled(states.remove);
    deleteAction_->setEnabled(states.remove);
    propertiesButton_->setEnabled(states.properties);
    propertiesAction_->setEnabled(states.properties);
}

void ListPage::showEntry(std::size_t entry)
{
    unmarkAll();
    const int row = static_cast<int>(entry) + 1;
    if (row >= list_->rowCount()) {
        updateCommands();
        throw errors::listIndexOutOfRange();
    }
    markEntry(entry);
    updateCommands();
}

std::size_t ListPage::markedEntry() const
{
    const std::vector<int> rows = list_->selectedRows();
    const auto last = std::max_element(rows.begin(), rows.end());
    return last != rows.end() && *last > 0 ? static_cast<std::size_t>(*last - 1) : 0;
}

void ListPage::unmarkAll()
{
    list_->setSelectedRows({});
}

void ListPage::markEntries(const std::vector<std::size_t>& entries)
{
    std::vector<int> rows = list_->selectedRows();
    const std::vector<int> added = rowsOf(entries);
    rows.insert(rows.end(), added.begin(), added.end());
    list_->setSelectedRows(rows);
}

void ListPage::markEntry(std::size_t entry)
{
    const int row = static_cast<int>(entry) + 1;
    if (row >= list_->rowCount())
        return;
    list_->setSelected(row, true);
    list_->scrollToRow(row);
}

std::vector<std::size_t> ListPage::markedEntries() const
{
    std::vector<int> rows = list_->selectedRows();
    std::sort(rows.begin(), rows.end());
    std::vector<std::size_t> entries;
    entries.reserve(rows.size());
    for (const int row : rows) {
        if (row > 0)
            entries.push_back(static_cast<std::size_t>(row - 1));
    }
    return entries;
}

void ListPage::deleteMarked()
{
    if (markedEntries().empty())
        return;
    if (desktop_.messageBox(QStringLiteral("Sollen die markierten Einträge wirklich gelöscht werden?"),
                            QString::fromLatin1(kMessageBoxTitle), MessageIcon::Question,
                            MessageButtons::YesNo) != MessageResult::Yes)
        return;
    const BusyPointer busy;
    try {
        // The marks are read now: the query's box may have let the due check change the list.
        book_.removeEntries(markedEntries());
    } catch (const std::exception& error) {
        desktop_.showError(error);
    }
    updateCommands();
}

void ListPage::markAll()
{
    const BusyPointer busy;
    list_->selectAll();
    updateCommands();
}

void ListPage::invertMarks()
{
    const BusyPointer busy;
    list_->invertSelection();
    updateCommands();
}

} // namespace zw
