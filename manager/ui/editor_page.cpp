#include "manager/ui/editor_page.h"

#include "common/zeitwache_error.h"
#include "manager/appointment_editor.h"
#include "manager/sound_list.h"
#include "manager/ui/cp1252_validator.h"
#include "manager/ui/up_down.h"
#include "platform/context_help.h"
#include "platform/desktop.h"
#include "platform/dialog_controls.h"
#include "platform/qt_text.h"
#include "scheduler/appointment_book.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <exception>
#include <variant>

namespace zw {

using dialog::named;
using dialog::spoken;

namespace {

// The editor's limit for a text field, as an int for the widgets.
constexpr int kTextLimit = static_cast<int>(AppointmentEditor::kTextLimit);

struct RepeatButton {
    const char* name;
    const char* caption;
    line::RepeatKind kind;
};
const RepeatButton kRepeatButtons[] = {
    {"RadioButton1", "&Keine", line::RepeatKind::None},
    {"RadioButton2", "&Stündlich", line::RepeatKind::Hourly},
    {"RadioButton3", "&Täglich", line::RepeatKind::Daily},
    {"RadioButton4", "&Wöchentlich", line::RepeatKind::Weekly},
    {"RadioButton5", "&Monatlich", line::RepeatKind::Monthly},
    {"RadioButton6", "&Jährlich", line::RepeatKind::Yearly},
};

QLineEdit* numberField(const char* name, int help, int maxLength, const QString& accessibleName)
{
    auto* field = named(new QLineEdit, name, help, accessibleName);
    field->setMaxLength(maxLength);
    field->setAlignment(Qt::AlignRight);
    const QFontMetrics metrics = field->fontMetrics();
    // Room for the digits and the frame, at any font and scale.
    field->setFixedWidth(metrics.horizontalAdvance(QString(maxLength + 1, QLatin1Char('0'))) + 8);
    return field;
}

QString overwriteQuestion()
{
    return QStringLiteral(
        "Für die anggegebene Uhrzeit gibt es bereits eine Meldung.\n\rSoll diese überschrieben werden?");
}

// A path the application field reads back as one name: the alarm path splits the field
// at blanks and commas unless the name is quoted.
QString asApplicationField(QString path)
{
    if (!path.contains(QLatin1Char(' ')) && !path.contains(QLatin1Char(',')) && !path.contains(QLatin1Char('"')))
        return path;
    path.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + path + QLatin1Char('"');
}

} // namespace

EditorPage::EditorPage(Desktop& desktop, AppointmentBook& book, const Clock& clock, QStringList soundFolders,
                       ContextHelp& help, QWidget* parent)
    : QWidget(parent),
      desktop_(desktop),
      book_(book),
      soundFolders_(std::move(soundFolders)),
      editor_(std::make_unique<AppointmentEditor>(
          book.list(), clock, soundEntriesIn(toPaths(soundFolders_))))
{
    setObjectName(QStringLiteral("TabSheet1"));
    build(help);
    connectControls();
    sync();
}

EditorPage::~EditorPage() = default;

void EditorPage::build(ContextHelp& help)
{
    auto* top = new QHBoxLayout;
    top->addWidget(buildDateAndTime(help), 1);
    top->addWidget(buildRepetition(help), 1);

    active_ = named(new QCheckBox(QStringLiteral("Termin akti&viert")), "CheckBox2", 10,
                    spoken(QStringLiteral("Termin akti&viert")));
    newAppointment_ = named(new QPushButton(QStringLiteral("Ne&u")), "Button3", 19, QStringLiteral("Neu"));
    newAppointment_->setVisible(false);
    store_ = named(new QPushButton(QStringLiteral("Termin Spei&chern")), "Button5", 11,
                   spoken(QStringLiteral("Termin Spei&chern")));
    help.attach({active_, store_});

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(active_);
    bottom->addStretch(1);
    bottom->addWidget(newAppointment_);
    bottom->addWidget(store_);

    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(buildAction(help));
    page->addLayout(bottom);
    page->addStretch(1);
}

QGroupBox* EditorPage::buildDateAndTime(ContextHelp& help)
{
    auto* group = new QGroupBox(QStringLiteral("Datum und Uhrzeit"));
    group->setObjectName(QStringLiteral("GroupBox1"));

    fields_ = {numberField("Edit3", 1, 2, QStringLiteral("Tag")), numberField("Edit5", 1, 2, QStringLiteral("Monat")),
               numberField("Edit6", 1, 4, QStringLiteral("Jahr")), numberField("Edit1", 2, 2, QStringLiteral("Stunde")),
               numberField("Edit2", 2, 2, QStringLiteral("Minute"))};
    dateSpinner_ = named(new UpDown, "UpDown1", 1, QStringLiteral("Datum einstellen"));
    timeSpinner_ = named(new UpDown, "UpDown2", 2, QStringLiteral("Uhrzeit einstellen"));
    // As high as the fields they step, whatever the font.
    for (UpDown* spinner : {dateSpinner_, timeSpinner_})
        spinner->setFixedSize(field(EditorField::Day)->sizeHint().height() * 2 / 3,
                              field(EditorField::Day)->sizeHint().height());

    auto* dateFrame = named(new QWidget, "Panel1", 1);
    auto* date = new QHBoxLayout(dateFrame);
    date->setContentsMargins(0, 0, 0, 0);
    date->setSpacing(2);
    date->addWidget(field(EditorField::Day));
    date->addWidget(new QLabel(QStringLiteral(".")));
    date->addWidget(field(EditorField::Month));
    date->addWidget(new QLabel(QStringLiteral(".")));
    date->addWidget(field(EditorField::Year));
    date->addWidget(dateSpinner_);
    date->addStretch(1);

    auto* timeFrame = named(new QWidget, "Panel2", 2);
    auto* time = new QHBoxLayout(timeFrame);
    time->setContentsMargins(0, 0, 0, 0);
    time->setSpacing(2);
    timeSeparator_ = named(new QLabel(QStringLiteral(":")), "Label1", 2);
    time->addWidget(field(EditorField::Hour));
    time->addWidget(timeSeparator_);
    time->addWidget(field(EditorField::Minute));
    time->addWidget(timeSpinner_);
    time->addStretch(1);

    auto* dateCaption = named(new QLabel(QStringLiteral("D&atum:")), "Label2", 1);
    dateCaption->setBuddy(field(EditorField::Day));
    auto* timeCaption = named(new QLabel(QStringLiteral("Uh&rzeit:")), "Label3", 2);
    timeCaption->setBuddy(field(EditorField::Hour));

    withoutTime_ = named(new QCheckBox(QStringLiteral("Ohne &Zeitangabe")), "CheckBox1", 3,
                         spoken(QStringLiteral("Ohne &Zeitangabe")));
    showIfExpired_ = named(new QCheckBox(QStringLiteral("Anzeigen wenn ab&gelaufen")), "CheckBox3", 0,
                           spoken(QStringLiteral("Anzeigen wenn ab&gelaufen")));
    deleteAfter_ = named(new QCheckBox(QStringLiteral("Nach Ausführung &löschen")), "CheckBox4", 0,
                         spoken(QStringLiteral("Nach Ausführung &löschen")));
    // Without a tag of their own they are known to the help by the general number.
    setHelpFallbackNumber(showIfExpired_, 1000);
    setHelpFallbackNumber(deleteAfter_, 1000);

    auto* grid = new QGridLayout(group);
    grid->addWidget(dateCaption, 0, 0);
    grid->addWidget(dateFrame, 0, 1);
    grid->addWidget(timeCaption, 1, 0);
    grid->addWidget(timeFrame, 1, 1);
    grid->addWidget(withoutTime_, 2, 0, 1, 2);
    grid->addWidget(showIfExpired_, 3, 0, 1, 2);
    grid->addWidget(deleteAfter_, 4, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    help.attach({group, dateCaption, timeCaption, dateFrame, timeFrame, dateSpinner_, timeSpinner_, withoutTime_,
                 showIfExpired_, deleteAfter_});
    for (QLineEdit* f : fields_)
        f->installEventFilter(this);
    return group;
}

QGroupBox* EditorPage::buildRepetition(ContextHelp& help)
{
    auto* group = new QGroupBox(QStringLiteral("Wiederholung"));
    group->setObjectName(QStringLiteral("GroupBox2"));
    repetition_ = new QButtonGroup(this);
    auto* grid = new QGridLayout(group);
    int id = 0;
    for (const RepeatButton& b : kRepeatButtons) {
        const QString caption = QString::fromUtf8(b.caption);
        auto* button = named(new QRadioButton(caption), b.name, 4, spoken(caption));
        repetition_->addButton(button, static_cast<int>(b.kind));
        grid->addWidget(button, id % 3, id / 3);
        help.attach({button});
        ++id;
    }
    help.attach({group});
    return group;
}

QGroupBox* EditorPage::buildAction(ContextHelp& help)
{
    auto* group = new QGroupBox(QStringLiteral("Aktion"));
    group->setObjectName(QStringLiteral("GroupBox3"));

    message_ = named(new QLineEdit, "Edit4", 5, spoken(QStringLiteral("&Nachricht:")));
    application_ = named(new QLineEdit, "Edit7", 7, spoken(QStringLiteral("Anw&endung oder Datei:")));
    for (QLineEdit* text : {message_, application_}) {
        text->setMaxLength(kTextLimit);
        text->setValidator(new Cp1252Validator(text));
    }

    sound_ = named(new QComboBox, "ComboBox1", 6, spoken(QStringLiteral("S&ound:")));
    for (const std::string& entry : editor_->soundEntries())
        sound_->addItem(fromCp1252(entry));
    listen_ = named(new QPushButton(QStringLiteral("An&hören")), "Button2", 8, spoken(QStringLiteral("An&hören")));

    browse_ = named(new QPushButton(QStringLiteral("&Durchsuchen ...")), "Button4", 9,
                    spoken(QStringLiteral("&Durchsuchen ...")));

    auto* messageCaption = named(new QLabel(QStringLiteral("&Nachricht:")), "Label4", 5);
    messageCaption->setBuddy(message_);
    auto* soundCaption = named(new QLabel(QStringLiteral("S&ound:")), "Label5", 6);
    soundCaption->setBuddy(sound_);
    auto* applicationCaption = named(new QLabel(QStringLiteral("Anw&endung oder Datei:")), "Label6", 7);
    applicationCaption->setBuddy(application_);

    auto* grid = new QGridLayout(group);
    grid->addWidget(messageCaption, 0, 0);
    grid->addWidget(message_, 0, 1, 1, 3);
    grid->addWidget(soundCaption, 1, 0);
    grid->addWidget(sound_, 1, 1);
    grid->addWidget(listen_, 1, 2);
    grid->addWidget(applicationCaption, 2, 0);
    grid->addWidget(application_, 2, 1, 1, 2);
    grid->addWidget(browse_, 2, 3);
    grid->setColumnStretch(1, 1);
    // The sound list and "Anhören" are off at times: a right-click on them then reaches
    // the group, which finds them under the pointer.
    help.attach({group, messageCaption, soundCaption, applicationCaption, sound_, listen_, browse_});
    return group;
}

template <typename Change>
void EditorPage::apply(Change&& change)
{
    if (syncing_)
        return;
    try {
        change();
    } catch (const std::exception& error) {
        sync();
        desktop_.showError(error);
        return;
    }
    sync();
}

void EditorPage::connectControls()
{
    for (size_t i = 0; i < fields_.size(); ++i) {
        const auto f = static_cast<EditorField>(i);
        connect(fields_[i], &QLineEdit::textChanged, this,
                [this, f](const QString& text) { apply([&] { editor_->changeField(f, toCp1252(text)); }); });
    }
    connect(dateSpinner_, &UpDown::stepped, this, &EditorPage::spinFocusedField);
    connect(timeSpinner_, &UpDown::stepped, this, &EditorPage::spinFocusedField);
    connect(withoutTime_, &QCheckBox::toggled, this, [this](bool on) { apply([&] { editor_->setWithoutTime(on); }); });
    connect(active_, &QCheckBox::toggled, this, [this](bool on) { apply([&] { editor_->setActive(on); }); });
    connect(showIfExpired_, &QCheckBox::toggled, this,
            [this](bool on) { apply([&] { editor_->setShowIfExpired(on); }); });
    connect(deleteAfter_, &QCheckBox::toggled, this,
            [this](bool on) { apply([&] { editor_->setDeleteAfterExecution(on); }); });
    connect(repetition_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            apply([&] { editor_->chooseRepeat(static_cast<line::RepeatKind>(id)); });
    });
    connect(message_, &QLineEdit::textChanged, this,
            [this](const QString& text) { apply([&] { editor_->setMessage(toCp1252(text)); }); });
    connect(application_, &QLineEdit::textChanged, this,
            [this](const QString& text) { apply([&] { editor_->setApplication(toCp1252(text)); }); });
    connect(sound_, &QComboBox::currentIndexChanged, this,
            [this](int entry) { apply([&] { editor_->chooseSound(entry); }); });
    connect(listen_, &QPushButton::clicked, this,
            [this] { desktop_.playSound(soundFolders_, fromCp1252(editor_->soundText())); });
    connect(browse_, &QPushButton::clicked, this, &EditorPage::browse);
    connect(newAppointment_, &QPushButton::clicked, this, &EditorPage::reset);
    connect(store_, &QPushButton::clicked, this, &EditorPage::store);
}

void EditorPage::sync()
{
    syncing_ = true;
    const AppointmentEditor& e = *editor_;
    for (size_t i = 0; i < fields_.size(); ++i) {
        const QString shown = fromCp1252(e.text(static_cast<EditorField>(i)));
        if (fields_[i]->text() != shown)
            fields_[i]->setText(shown);
    }
    dateSpinner_->setEnabled(e.dateSpinner().enabled);
    timeSpinner_->setEnabled(e.timeSpinner().enabled);
    field(EditorField::Hour)->setEnabled(!e.withoutTime());
    field(EditorField::Minute)->setEnabled(!e.withoutTime());
    timeSeparator_->setText(fromUtf8(e.timeSeparator()));
    withoutTime_->setChecked(e.withoutTime());
    showIfExpired_->setChecked(e.showIfExpired());
    deleteAfter_->setChecked(e.deleteAfterExecution());
    deleteAfter_->setEnabled(e.deleteAfterExecutionEnabled());
    repetition_->button(static_cast<int>(e.chosenRepeat()))->setChecked(true);
    active_->setChecked(e.active());
    if (toCp1252(message_->text()) != e.message())
        message_->setText(fromCp1252(e.message()));
    if (toCp1252(application_->text()) != e.application())
        application_->setText(fromCp1252(e.application()));
    sound_->setCurrentIndex(e.soundEntry());
    sound_->setEnabled(e.soundListEnabled());
    listen_->setEnabled(e.listenEnabled());
    store_->setEnabled(e.modified());
    syncing_ = false;
}

bool EditorPage::fieldOf(const QObject* object, EditorField& f) const
{
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i] == object) {
            f = static_cast<EditorField>(i);
            return true;
        }
    }
    return false;
}

bool EditorPage::eventFilter(QObject* watched, QEvent* event)
{
    EditorField f{};
    if (!fieldOf(watched, f))
        return QWidget::eventFilter(watched, event);
    const bool isDate = f <= EditorField::Year;
    switch (event->type()) {
    case QEvent::FocusIn: {
        // Coming back to the window is no entering of the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            apply([&] { editor_->enterField(f); });
        break;
    }
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            apply([&] { isDate ? editor_->leaveDateFields() : editor_->leaveTimeFields(); });
        break;
    }
    case QEvent::KeyPress: {
        // The arrow keys work the spinner, as its arrows do.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            spinFocusedField(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void EditorPage::spinFocusedField(int steps)
{
    EditorField f{};
    QLineEdit* focused = qobject_cast<QLineEdit*>(focusWidget());
    if (focused == nullptr || !fieldOf(focused, f))
        return;
    apply([&] { editor_->spin(f, steps); });
    focused->selectAll();
}

void EditorPage::browse()
{
    const QString file = desktop_.chooseExistingFile(
        window(), QStringLiteral("Anwendung oder mit einer Anwendung verknüpfte Datei auswählen"),
        QStringLiteral("Alle Dateien (*)"), QDir::homePath());
    if (file.isEmpty())
        return;
    const QString text = asApplicationField(file);
    if (!fitsCp1252(text) || text.size() > kTextLimit) {
        desktop_.messageBox(QStringLiteral("Der Name dieser Datei kann nicht als Anwendung gespeichert werden:\n%1\n"
                                           "Er ist zu lang oder enthält Zeichen, die die Termindatei nicht "
                                           "aufnehmen kann.")
                                .arg(file),
                            QString::fromLatin1(kMessageBoxTitle), MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    application_->setText(text);
}

void EditorPage::reset()
{
    editor_->reset();
    sync();
}

bool EditorPage::store()
{
    std::string line;
    try {
        std::variant<std::string, StoreRefusal> checked = editor_->lineToStore();
        sync();
        if (const StoreRefusal* refusal = std::get_if<StoreRefusal>(&checked)) {
            desktop_.messageBox(fromUtf8(refusal->text), fromUtf8(refusal->title), MessageIcon::Error,
                                MessageButtons::Ok);
            return false;
        }
        line = std::move(std::get<std::string>(checked));
    } catch (const std::exception& error) {
        sync();
        desktop_.showError(error);
        return false;
    }

    const auto ask = [this] {
        const MessageResult answer = desktop_.messageBox(overwriteQuestion(), QString::fromLatin1(kMessageBoxTitle),
                                                         MessageIcon::Question, MessageButtons::YesNoCancel);
        return answer == MessageResult::Yes ? OverwriteAnswer::Yes
               : answer == MessageResult::No ? OverwriteAnswer::No
                                             : OverwriteAnswer::Cancel;
    };
    try {
        book_.store(std::move(line), editor_->editedEntry(), ask);
    } catch (const std::exception& error) {
        // The list may hold the new line already; the page keeps it, and storing again
        // replaces it.
        sync();
        desktop_.showError(error);
        return false;
    }
    editor_->markStored();
    emit stored();
    reset();
    return true;
}

bool EditorPage::load(std::size_t position)
{
    try {
        editor_->load(position);
    } catch (const std::exception& error) {
        desktop_.showError(error);
        return false;
    }
    sync();
    return true;
}

} // namespace zw
