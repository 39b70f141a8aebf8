#pragma once
// The properties dialog (`TForm5`, "Termineigenschaften"): every stored field of one
// appointment, read-only and exactly as its line holds it, including the two the list
// does not show (application or file, sound). From here the user can go on to edit it.
// Created once and hidden between uses.
#include "manager/ui/centred_dialog.h"

#include <array>
#include <cstddef>
#include <functional>
#include <memory>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zw {

class AppointmentList;
class ContextHelp;
class Desktop;
class MarkedRows;

class PropertiesDialog : public CentredDialog {
    Q_OBJECT
public:
    // edit: the manager's `editieren` of the marked appointment, run by "Bearbeiten"
    // before the dialog closes.
    PropertiesDialog(Desktop& desktop, const AppointmentList& list, std::function<void()> edit,
                     QWidget* parent = nullptr);
    ~PropertiesDialog() override;

    // Fills the fields from the entry and shows the dialog modally until it closes. An
    // entry that does not exist, or whose lengths cannot be read, is reported in the
    // error box instead, and the dialog stays closed: false.
    bool showEntry(std::size_t entry);
    // The same for the last marked entry; false, without a box, when none is marked.
    bool showMarked(const MarkedRows& rows);

private:
    void build();
    bool fill(std::size_t entry);
    void edit();

    Desktop& desktop_;
    const AppointmentList& list_;
    std::function<void()> edit_;
    // The shown appointment, followed while the dialog waits: the minute's check may
    // delete it, and "Bearbeiten" must not then load whatever took its place.
    class Shown;
    std::unique_ptr<Shown> shown_;
    ContextHelp* help_ = nullptr;
    // Datum, Uhrzeit, Wiederholung, Aktiviert, Datei, Sound.
    std::array<QLineEdit*, 6> fields_{};
    QPlainTextEdit* message_ = nullptr;
    QPushButton* editButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

} // namespace zw
