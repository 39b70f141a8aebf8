#include "scheduler/appointment_book.h"

#include "common/zeitwache_error.h"
#include "store/conversion.h"

#include <exception>

namespace zw {

AppointmentBook::AppointmentBook(const std::filesystem::path& directory, AppointmentList& list, const Clock& clock,
                                 AppointmentExecutor& executor)
    : clock_(clock), dataFile_(directory / "termine.dat"), backupFile_(directory / "termine.v22"), list_(list),
      dueCheck_(list_, clock, executor)
{
    list_.setSaver([this](const std::vector<std::string>& lines) {
        if (!protectDataFile_)
            dataFile_.save(lines);
    });
}

std::optional<std::string> AppointmentBook::load()
{
    std::optional<std::string> problem;
    std::error_code ec;
    const bool exists = std::filesystem::exists(dataFile_.path(), ec);
    try {
        list_.assign(dataFile_.load());
    } catch (const ZeitwacheError&) {
        if (exists) {
            // Writing the empty list over it would throw every appointment away.
            protectDataFile_ = true;
            problem = "Die Termindatei " + dataFile_.path().string() +
                                     " ist vorhanden, kann aber nicht gelesen werden.\n"
                                     "Sie wird nicht überschrieben; Änderungen an Terminen werden "
                                     "nicht gespeichert, bis Zeitwache sie beim nächsten Start lesen kann.";
        } else {
            try {
                list_.save();
            } catch (const ZeitwacheError& e) {
                // Told once here; a box every minute would not tell more.
                protectDataFile_ = true;
                problem = std::string(e.what()) +
                                         ".\nDas Verzeichnis ist nicht beschreibbar: Zeitwache läuft, kann aber "
                                         "keine Termine speichern. Die Umgebungsvariable ZEITWACHE_DIR kann auf "
                                         "ein beschreibbares Verzeichnis zeigen.";
            }
        }
    }
    return problem;
}

AppointmentBook::FirstCheck AppointmentBook::runFirstCheck()
{
    FirstCheck result;
    try {
        dueCheck_.run(clock_.now());
    } catch (const ZeitwacheError& checkError) {
        try {
            size_t converted = convertOlderLayout(list_, [this](const std::vector<std::string>& lines) {
                if (!protectDataFile_)
                    backupFile_.save(lines);
            });
            result.converted = converted > 0;
            if (!result.converted)
                result.error = checkError.what();
        } catch (const ZeitwacheError& saveError) {
            result.error = saveError.what();
        }
    }
    return result;
}

void AppointmentBook::changeHeld(const std::function<void()>& change)
{
    std::exception_ptr failure;
    {
        const DueCheck::Hold hold = dueCheck_.hold();
        try {
            change();
        } catch (const ZeitwacheError&) {
            failure = std::current_exception();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}

AppointmentList::StoreResult AppointmentBook::store(std::string line, AppointmentList::TrackedEntry& edited,
                                                   const AppointmentList::OverwriteQuery& ask)
{
    AppointmentList::StoreResult result = AppointmentList::StoreResult::Declined;
    changeHeld([&] {
        result = list_.place(std::move(line), edited, ask, clock_.now().date.year);
        list_.save();
    });
    return result;
}

void AppointmentBook::removeEntries(const std::vector<size_t>& positions)
{
    changeHeld([&] {
        list_.removeAll(positions);
        list_.save();
    });
}

} // namespace zw
