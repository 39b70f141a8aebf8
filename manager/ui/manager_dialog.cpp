#include "manager/ui/manager_dialog.h"

#include "manager/appointment_editor.h"
#include "manager/ui/editor_page.h"
#include "manager/ui/list_page.h"
#include "manager/ui/mark_expired_dialog.h"
#include "manager/ui/properties_dialog.h"
#include "manager/ui/search_dialog.h"
#include "platform/classic_dialog.h"
#include "platform/context_help.h"
#include "platform/desktop.h"
#include "platform/dialog_controls.h"
#include "platform/placement/tray_placement.h"
#include "scheduler/appointment_book.h"
#include "widgets/multi_list.h"

#include <QKeySequence>
#include <QPushButton>
#include <QShowEvent>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zw {

namespace {
using dialog::named;

constexpr int kHelpClose = 12;
constexpr int kHelpHelp = 13;
constexpr int kEditorPage = 0;
constexpr int kListPage = 1;

QString closingQuestion()
{
    return QStringLiteral(
        "Der zuletzt bearbeitete Termin wurde noch nicht gesichert.\n\rSoll der Termin gespeichert werden?");
}
} // namespace

ManagerDialog::ManagerDialog(Desktop& desktop, AppointmentBook& book, const Clock& clock, QStringList soundFolders,
                             QWidget* parent)
    : QDialog(parent, classicDialogFlags()), desktop_(desktop)
{
    help_ = setUpDialog(*this, desktop, "TForm2", QStringLiteral("Terminmanager"), false);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    editorPage_ = new EditorPage(desktop, book, clock, std::move(soundFolders), *help_);
    pages_->addTab(editorPage_, QStringLiteral("Termin bearbeiten"));
    listPage_ = new ListPage(desktop, book, *help_);
    pages_->addTab(listPage_, QStringLiteral("Vorhandene Termine"));
    connect(listPage_, &ListPage::editRequested, this, &ManagerDialog::editMarked);
    // Refilled after a store, so no mark made before the edit survives it for Del to act on.
    connect(editorPage_, &EditorPage::stored, listPage_, &ListPage::fill);
    // The buttons above the list take no focus: the list has it when its page shows.
    connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == kListPage)
            listPage_->list()->setFocus(Qt::OtherFocusReason);
    });

    properties_ = new PropertiesDialog(desktop, book.list(), [this] { editMarked(); }, this);
    markExpired_ = new MarkExpiredDialog(desktop, book.list(), *listPage_, clock, this);
    search_ = new SearchDialog(desktop, book.list(), *listPage_, this);
    connect(listPage_, &ListPage::propertiesRequested, this, [this] { properties_->showMarked(*listPage_); });
    connect(listPage_, &ListPage::markExpiredRequested, markExpired_, [this] { markExpired_->exec(); });
    connect(listPage_, &ListPage::searchRequested, search_, &SearchDialog::showSearch);

    auto* close = named(new QPushButton(QStringLiteral("Schließen")), "Button1", kHelpClose,
                        QStringLiteral("Schließen"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &ManagerDialog::reject); // Esc does the same
    auto* help = named(new QPushButton(QStringLiteral("Hilfe")), "Button8", kHelpHelp, QStringLiteral("Hilfe"));
    connect(help, &QPushButton::clicked, this, &ManagerDialog::showHelp);
    help_->attach({close, help});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addLayout(buttonRow({close, help}));

    // F1 reaches the window before the control that has the focus.
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WindowShortcut);
    connect(f1, &QShortcut::activated, this, &ManagerDialog::showHelp);

    fixClassicSize(*this, {kWidth, kHeight});
}

ManagerDialog::~ManagerDialog() = default;

void ManagerDialog::showEntry(std::size_t entry)
{
    showManager();
    pages_->setCurrentIndex(kListPage);
    listPage_->showEntry(entry);
}

void ManagerDialog::showManager()
{
    show();
    raise();
    activateWindow();
}

void ManagerDialog::editMarked()
{
    if (editorPage_->load(listPage_->markedEntry()))
        pages_->setCurrentIndex(kEditorPage);
}

void ManagerDialog::reject()
{
    if (editorPage_->editor().modified()) {
        const MessageResult answer = desktop_.messageBox(closingQuestion(), QString::fromLatin1(kMessageBoxTitle),
                                                         MessageIcon::Question, MessageButtons::YesNoCancel);
        if (answer == MessageResult::Cancel)
            return;
        // A refused store keeps the dialog open with the page as typed: closing would
        // drop it, since the next showing starts a new appointment.
        if (answer == MessageResult::Yes && !editorPage_->store())
            return;
    }
    QDialog::reject();
    // The search window goes with the manager.
    search_->close();
}

bool ManagerDialog::modalDialogOpen() const
{
    return properties_->isVisible() || markExpired_->isVisible();
}

void ManagerDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        pages_->setCurrentIndex(kEditorPage);
        placeNextToTray();
        editorPage_->reset();
    }
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
    // Placed by a click point instead of a tray rectangle, the rule can reach past an edge.
    pos = keptOnScreen(pos, {own.width(), own.height()}, {screen.width(), screen.height()});
    move(pos.x, pos.y);
}

void ManagerDialog::showHelp()
{
    desktop_.showHelpTopic(QStringLiteral("TERMINMANAGER"));
}

} // namespace zw
