#pragma once
// The manager's page "Termin bearbeiten" (TabSheet1): the fields of one appointment. The
// rules live in AppointmentEditor; the page forwards every change to it and shows its
// state afterwards. Storing goes through the appointment book, loading reads the list.
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <cstddef>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zw {

// Not included: moc reads headers as C++17 and stops at the standard library's
// three-way comparison headers that the editor's pull in.
class AppointmentEditor;
enum class EditorField;
class AppointmentBook;
class Clock;
class ContextHelp;
class Desktop;
class UpDown;

class EditorPage : public QWidget {
    Q_OBJECT
public:
    EditorPage(Desktop& desktop, AppointmentBook& book, const Clock& clock, QStringList soundFolders,
               ContextHelp& help, QWidget* parent = nullptr);
    ~EditorPage() override;

    // `feldersetup`.
    void reset();
    // `sichern`: false when the store ended at a check or an error (the page keeps its
    // content); true when it ran through, also when the overwrite query was declined.
    bool store();
    // `editieren` of the entry at `position`; a failure is shown, changes nothing and
    // gives false.
    bool load(std::size_t position);

    const AppointmentEditor& editor() const { return *editor_; }

signals:
    // A store ran through (also when the overwrite query was declined).
    void stored();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(ContextHelp& help);
    QGroupBox* buildDateAndTime(ContextHelp& help);
    QGroupBox* buildRepetition(ContextHelp& help);
    QGroupBox* buildAction(ContextHelp& help);
    void connectControls();
    // Shows the editor's state on the controls.
    void sync();
    // Runs a change of the editor and shows the result; errors go to the error box.
    template <typename Change>
    void apply(Change&& change);
    QLineEdit* field(EditorField f) const { return fields_[static_cast<std::size_t>(f)]; }
    bool fieldOf(const QObject* object, EditorField& f) const;
    void spinFocusedField(int steps);
    void browse();

    Desktop& desktop_;
    AppointmentBook& book_;
    QStringList soundFolders_;
    std::unique_ptr<AppointmentEditor> editor_;
    bool syncing_ = false;

    std::array<QLineEdit*, 5> fields_{};
    UpDown* dateSpinner_ = nullptr;
    UpDown* timeSpinner_ = nullptr;
    QLabel* timeSeparator_ = nullptr;
    QCheckBox* withoutTime_ = nullptr;
    QCheckBox* showIfExpired_ = nullptr;
    QCheckBox* deleteAfter_ = nullptr;
    QButtonGroup* repetition_ = nullptr;
    QLineEdit* message_ = nullptr;
    QComboBox* sound_ = nullptr;
    QPushButton* listen_ = nullptr;
    QLineEdit* application_ = nullptr;
    QPushButton* browse_ = nullptr;
    QCheckBox* active_ = nullptr;
    QPushButton* newAppointment_ = nullptr;
    QPushButton* store_ = nullptr;
};

} // namespace zw
