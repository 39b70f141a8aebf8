#pragma once
// The tests' one executor: it records what it carried out. Given the list, it leaves the
// line as the program's executor does (marked executed, then removed when its delete flag
// says so); a hook runs first, inside carrying out, where a modal box or a slow program
// would keep the program.
#include "scheduler/due_check.h"
#include "store/appointment_line.h"

#include <functional>
#include <string>
#include <vector>

namespace zw::testing {

class RecordingExecutor final : public AppointmentExecutor {
public:
    using Hook = std::function<void(const DueAppointment&)>;

    RecordingExecutor() = default;
    explicit RecordingExecutor(AppointmentList& list) : list_(&list) {}

    void carryOut(const DueAppointment& a) override
    {
        carried_.push_back(a);
        if (during_)
            during_(a);
        if (!list_)
            return;
        std::string l = list_->get(a.index);
        line::setFlag(l, line::kExecuted, '1');
        list_->put(a.index, l);
        if (a.deleteFlag == '1')
            list_->remove(a.index);
    }

    void setDuring(Hook hook) { during_ = std::move(hook); }
    const std::vector<DueAppointment>& carried() const { return carried_; }
    size_t count() const { return carried_.size(); }
    void forget() { carried_.clear(); }
    std::vector<std::string> messages() const
    {
        std::vector<std::string> out;
        for (const auto& a : carried_)
            out.push_back(a.message);
        return out;
    }

private:
    AppointmentList* list_ = nullptr;
    Hook during_;
    std::vector<DueAppointment> carried_;
};

} // namespace zw::testing
