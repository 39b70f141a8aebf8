#include "manager/ui/search_dialog.h"

#include "manager/appointment_search.h"
#include "manager/ui/cp1252_validator.h"
#include "manager/ui/marked_rows.h"
#include "platform/classic_dialog.h"
#include "platform/context_help.h"
#include "platform/desktop.h"
#include "platform/dialog_controls.h"
#include "platform/qt_text.h"
#include "store/appointment_list.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace zw {

namespace {

using dialog::named;
using dialog::spoken;

constexpr int kClientWidth = 380;
constexpr int kClientHeight = 119;
// Where the window opens: this far right of the manager's left edge and above its top.
constexpr int kRightOfManager = 210;
constexpr int kAboveManager = 30;

// The list's items in the order of SearchObject.
const char* const kObjects[] = {"Alles", "Datum und Uhrzeit", "Wiederholung", "Nachricht", "Anwendung / Datei"};

QString notFoundText() { return QStringLiteral("Es konnte kein passender Termin gefunden werden!"); }
QString notFoundTitle() { return QStringLiteral("Suchergebniss"); }

} // namespace

SearchDialog::SearchDialog(Desktop& desktop, const AppointmentList& list, MarkedRows& rows, QWidget* manager)
    : QDialog(manager, fixedDialogFlags() | Qt::WindowStaysOnTopHint),
      desktop_(desktop),
      rows_(rows),
      manager_(manager),
      search_(std::make_unique<AppointmentSearch>(list))
{
    help_ = setUpDialog(*this, desktop, "TForm7", QStringLiteral("Suchen"), false);
    build();
    fixClassicSize(*this, {kClientWidth, kClientHeight});
}

SearchDialog::~SearchDialog() = default;

void SearchDialog::build()
{
    const QString textCaption = QStringLiteral("Suchen &nach:");
    const QString objectCaption = QStringLiteral("Such&objekt:");
    text_ = named(new QLineEdit, "Edit1", 60, spoken(textCaption));
    // Only what a stored line can hold: the search text is compared as Windows-1252.
    text_->setValidator(new Cp1252Validator(text_));
    object_ = named(new QComboBox, "ComboBox1", 61, spoken(objectCaption));
    for (const char* item : kObjects)
        object_->addItem(QString::fromUtf8(item));
    auto* textLabel = named(new QLabel(textCaption), "Label1", 60);
    textLabel->setBuddy(text_);
    auto* objectLabel = named(new QLabel(objectCaption), "Label2", 61);
    objectLabel->setBuddy(object_);

    const QString caseCaption = QStringLiteral("&Groß-/Kleinschreibung beachten");
    const QString markAllCaption = QStringLiteral("&Alle gefundenen Termine markieren");
    matchCase_ = named(new QCheckBox(caseCaption), "CheckBox1", 62, spoken(caseCaption));
    markAll_ = named(new QCheckBox(markAllCaption), "CheckBox2", 63, spoken(markAllCaption));

    next_ = named(new QPushButton(QStringLiteral("&Weitersuchen")), "Button1", 64,
                  spoken(QStringLiteral("&Weitersuchen")));
    next_->setDefault(true);
    next_->setEnabled(false);
    auto* close = named(new QPushButton(QStringLiteral("Schließen")), "Button2", 65, QStringLiteral("Schließen"));
    connect(text_, &QLineEdit::textChanged, this, [this](const QString& text) { next_->setEnabled(!text.isEmpty()); });
    connect(next_, &QPushButton::clicked, this, &SearchDialog::searchNext);
    // Esc and the close box close the window the same way.
    connect(close, &QPushButton::clicked, this, &SearchDialog::reject);

    // The search text keeps the platform's own edit menu.
    help_->attach({textLabel, objectLabel, object_, matchCase_, markAll_, next_, close});

    auto* fields = new QGridLayout;
    fields->addWidget(textLabel, 0, 0);
    fields->addWidget(text_, 0, 1);
    fields->addWidget(objectLabel, 1, 0);
    fields->addWidget(object_, 1, 1);
    fields->addWidget(matchCase_, 2, 0, 1, 2);
    fields->addWidget(markAll_, 3, 0, 1, 2);
    fields->setColumnStretch(1, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(next_);
    buttons->addWidget(close);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);
}

void SearchDialog::showSearch()
{
    show();
    raise();
    activateWindow();
}

void SearchDialog::setVisible(bool visible)
{
    // Placed before it is shown, so that it never appears elsewhere first.
    if (visible && !isVisible()) {
        place();
        object_->setCurrentIndex(0);
    }
    QDialog::setVisible(visible);
}

void SearchDialog::place()
{
    if (manager_ == nullptr)
        return;
    QPoint topLeft = manager_->pos() + QPoint(kRightOfManager, -kAboveManager);
    // A manager near the top of the screen (a panel at the top holds the tray) would push
    // the title bar off the screen, and the window could not be moved any more.
    if (const QScreen* screen = manager_->screen())
        topLeft.setY(std::max(topLeft.y(), screen->availableGeometry().top()));
    move(topLeft);
}

void SearchDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        text_->setFocus();
        emit openedSearch();
    }
}

void SearchDialog::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous()) {
        search_->reset();
        emit closedSearch();
    }
}

void SearchDialog::searchNext()
{
    if (text_->text().isEmpty())
        return;
    SearchRequest request;
    request.text = toCp1252(text_->text());
    request.object = static_cast<SearchObject>(std::max(0, object_->currentIndex()));
    request.matchCase = matchCase_->isChecked();
    request.markAll = markAll_->isChecked();

    const SearchStep step = search_->next(request);
    if (step.outcome == SearchStep::Outcome::Nothing)
        return;
    if (step.clearMarks)
        rows_.unmarkAll();
    if (step.outcome == SearchStep::Outcome::Found) {
        rows_.markEntry(step.found);
        rows_.updateCommands();
        return;
    }
    desktop_.messageBox(notFoundText(), notFoundTitle(), MessageIcon::Error, MessageButtons::Ok);
    if (step.markAgain)
        rows_.markEntry(*step.markAgain);
    // The marks may have gone: the commands follow them here too.
    rows_.updateCommands();
}

} // namespace zw
