#include "manager/ui/properties_dialog.h"

#include "manager/appointment_properties.h"
#include "manager/ui/marked_rows.h"
#include "platform/classic_dialog.h"
#include "platform/context_help.h"
#include "platform/desktop.h"
#include "platform/dialog_controls.h"
#include "platform/qt_text.h"
#include "store/appointment_list.h"

#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include <exception>
#include <utility>

namespace zw {

namespace {

using dialog::named;
using dialog::spoken;

constexpr int kHelpFields = 40;
constexpr int kHelpEdit = 47;
constexpr int kHelpOk = 48;
constexpr int kClientWidth = 375;
constexpr int kClientHeight = 415;

struct FieldRow {
    const char* caption;
    const char* labelName;
    const char* fieldName;
};
const FieldRow kRows[] = {
    {"D&atum:", "Label1", "Edit1"},   {"Uh&rzeit:", "Label2", "Edit2"}, {"&Wiederholung:", "Label3", "Edit3"},
    {"Aklti&viert:", "Label4", "Edit4"}, {"Dat&ei:", "Label5", "Edit5"},   {"So&und:", "Label6", "Edit6"},
};
const FieldRow kMessageRow = {"&Nachricht:", "Label7", "Memo1"};
// The rows above the second separator line.
constexpr std::size_t kHeadRows = 4;

// A value field shows, it does not offer its text for replacing: entering it by Tab or
// an access key selects nothing.
class ValueField : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        const int cursor = cursorPosition();
        const bool hadSelection = hasSelectedText();
        QLineEdit::focusInEvent(event);
        if (!hadSelection && hasSelectedText())
            setCursorPosition(cursor);
    }
};

// Read-only fields in the dialog's face colour, as labels that can be copied from.
void inFaceColour(QWidget* field)
{
    QPalette palette = field->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, palette.color(group, QPalette::Window));
    field->setPalette(palette);
}

QFrame* separator(const char* name)
{
    auto* line = named(new QFrame, name, 0);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

class PropertiesDialog::Shown : public AppointmentList::TrackedEntry {
    using TrackedEntry::TrackedEntry;
};

PropertiesDialog::PropertiesDialog(Desktop& desktop, const AppointmentList& list, std::function<void()> edit,
                                   QWidget* parent)
    : CentredDialog(desktop, parent),
      desktop_(desktop),
      list_(list),
      edit_(std::move(edit)),
      shown_(std::make_unique<Shown>(list))
{
    help_ = setUpDialog(*this, desktop, "TForm5", QStringLiteral("Termineigenschaften"), true);
    build();
    shown_->whenGone([this] { editButton_->setEnabled(false); });
    fixClassicSize(*this, {kClientWidth, kClientHeight});
}

PropertiesDialog::~PropertiesDialog() = default;

void PropertiesDialog::build()
{
    auto* pages = named(new QTabWidget, "PageControl1", 0);
    auto* page = named(new QWidget, "TabSheet1", 0);
    pages->addTab(page, QStringLiteral("Allgemein"));

    auto* icon = named(new QLabel, "Image1", 0, QStringLiteral("Zeitwache"));
    QIcon appIcon = QGuiApplication::windowIcon();
    if (appIcon.isNull())
        appIcon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    icon->setPixmap(appIcon.pixmap(32, 32));
    icon->setFixedSize(32, 32);

    // One grid for the page, so that the labels above and below the separator line up.
    auto* grid = new QGridLayout(page);
    grid->addWidget(icon, 0, 0, 1, 2);
    grid->addWidget(separator("Bevel1"), 1, 0, 1, 2);
    int gridRow = 2;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (i == kHeadRows)
            grid->addWidget(separator("Bevel2"), gridRow++, 0, 1, 2);
        const FieldRow& row = kRows[i];
        const QString caption = QString::fromUtf8(row.caption);
        auto* field = named(new ValueField, row.fieldName, kHelpFields, spoken(caption));
        field->setReadOnly(true);
        field->setFrame(false);
        inFaceColour(field);
        auto* label = named(new QLabel(caption), row.labelName, kHelpFields);
        label->setBuddy(field);
        help_->attach({label});
        grid->addWidget(label, gridRow, 0);
        grid->addWidget(field, gridRow, 1);
        ++gridRow;
        fields_[i] = field;
    }

    const QString messageCaption = QString::fromUtf8(kMessageRow.caption);
    message_ = named(new QPlainTextEdit, kMessageRow.fieldName, kHelpFields, spoken(messageCaption));
    message_->setReadOnly(true);
    message_->setFrameShape(QFrame::NoFrame);
    message_->setTabChangesFocus(true);
    message_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Long words wrap too; a message longer than the field can still be scrolled.
    message_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    message_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    message_->setMinimumSize(241, 129);
    inFaceColour(message_);
    auto* messageLabel = named(new QLabel(messageCaption), kMessageRow.labelName, kHelpFields);
    messageLabel->setBuddy(message_);
    messageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    help_->attach({messageLabel});
    grid->addWidget(messageLabel, gridRow, 0);
    grid->addWidget(message_, gridRow, 1);
    grid->setRowStretch(gridRow, 1);
    grid->setColumnStretch(1, 1);

    editButton_ = named(new QPushButton(QStringLiteral("&Bearbeiten")), "Button1", kHelpEdit,
                        spoken(QStringLiteral("&Bearbeiten")));
    okButton_ = named(new QPushButton(QStringLiteral("Ok")), "Button2", kHelpOk, QStringLiteral("Ok"));
    okButton_->setDefault(true);
    help_->attach({editButton_, okButton_});
    connect(editButton_, &QPushButton::clicked, this, &PropertiesDialog::edit);
    // Esc is the same as Ok: nothing changes either way.
    connect(okButton_, &QPushButton::clicked, this, &PropertiesDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages, 1);
    layout->addLayout(buttonRow({editButton_, okButton_}));
}

bool PropertiesDialog::fill(std::size_t entry)
{
    AppointmentProperties shown;
    try {
        shown = propertiesOf(list_.get(entry));
    } catch (const std::exception& error) {
        desktop_.showError(error);
        return false;
    }
    const std::string* texts[] = {&shown.date,        &shown.time,       &shown.repetition,
                                  &shown.activation,  &shown.application, &shown.sound};
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        fields_[i]->setText(fromCp1252(*texts[i]));
        fields_[i]->setCursorPosition(0);
    }
    message_->setPlainText(fromCp1252(shown.message));
    shown_->set(entry);
    editButton_->setEnabled(true);
    okButton_->setFocus();
    return true;
}

bool PropertiesDialog::showEntry(std::size_t entry)
{
    if (!fill(entry))
        return false;
    exec();
    return true;
}

bool PropertiesDialog::showMarked(const MarkedRows& rows)
{
    const std::vector<std::size_t> marked = rows.markedEntries();
    if (marked.empty())
        return false;
    return showEntry(marked.back());
}

void PropertiesDialog::edit()
{
    if (edit_ && shown_->position()) {
        try {
            edit_();
        } catch (const std::exception& error) {
            desktop_.showError(error);
        }
    }
    accept();
}

} // namespace zw
