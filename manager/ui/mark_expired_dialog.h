#pragma once
// "Termine markieren" (`TForm6`): replaces the list page's marks with the expired
// appointments, either only those that do not repeat or all of them. It changes marks
// only, never the list or the data file. Created once; the choice survives between uses.
#include "manager/ui/centred_dialog.h"

class QRadioButton;

namespace zw {

class AppointmentList;
class Clock;
class ContextHelp;
class Desktop;
class MarkedRows;

class MarkExpiredDialog : public CentredDialog {
    Q_OBJECT
public:
    MarkExpiredDialog(Desktop& desktop, const AppointmentList& list, MarkedRows& rows, const Clock& clock,
                      QWidget* parent = nullptr);
    ~MarkExpiredDialog() override;

private:
    // "Ok": the marking, then the dialog closes, whatever happens on the way.
    void markExpired();

    Desktop& desktop_;
    const AppointmentList& list_;
    MarkedRows& rows_;
    const Clock& clock_;
    ContextHelp* help_ = nullptr;
    QRadioButton* withoutRepetition_ = nullptr;
    QRadioButton* all_ = nullptr;
};

} // namespace zw
