#include "scheduler/appointment_book.h"

#include "common/file_io.h"
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
        if (protectDataFile_)
            return;
        // The minute's check saves after every run; a file that holds these very lines
        // already is not written again (at 100,000 appointments a rewrite with its flush
        // to disk costs more than the check). A file changed by anyone else is.
        if (onDisk_ && onDisk_->revision == list_.revision() && fileStamp(dataFile_.path()) == onDisk_->stamp)
            return;
        // A failed save leaves onDisk_ as it was: the list differs from it, so the next
        // save tries again.
        try {
            dataFile_.save(lines);
            rememberOnDisk(fileStamp(dataFile_.path()));
            cannotCreate_ = false;
        } catch (const ZeitwacheError&) {
            // The start-up box told of the directory once; a minute's check tries again
            // quietly. What the user changes is reported: it is not kept on disk.
            if (cannotCreate_ && !userChange_)
                return;
            throw;
        }
    });
}

namespace {
// Told once at start-up: a box at every minute's save would not tell more.
std::string unwritableDirectoryNotice(const std::exception& cause)
{
    return std::string(cause.what()) +
           ".\nDas Verzeichnis ist nicht beschreibbar: Zeitwache läuft weiter und speichert die "
           "Termine, sobald es beschreibbar ist. Die Umgebungsvariable ZEITWACHE_DIR kann auf "
           "ein beschreibbares Verzeichnis zeigen.";
}
} // namespace

std::optional<std::string> AppointmentBook::load()
{
    // Saves cut short by a kill in an earlier run; a running process's are left alone.
    removeStaleTemporaryFiles(dataFile_.path());
    removeStaleTemporaryFiles(backupFile_.path());

    std::optional<std::string> problem;
    std::error_code ec;
    const bool exists = std::filesystem::exists(dataFile_.path(), ec);
    try {
        DataFile::Contents contents = dataFile_.read();
        if (contents.unreadableFrom)
            problem = keepDamagedFile(contents);
        list_.assign(std::move(contents.lines));
        rememberOnDisk(contents.stamp);
        if (!problem && !canReplaceFile(dataFile_.path())) {
            cannotCreate_ = true;
            problem = unwritableDirectoryNotice(errors::cannotCreateFile(dataFile_.path().string()));
        }
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
                cannotCreate_ = true;
                problem = unwritableDirectoryNotice(e);
            }
        }
    }
    return problem;
}

void AppointmentBook::rememberOnDisk(const std::optional<FileStamp>& stamp)
{
    if (stamp)
        onDisk_ = OnDisk{list_.revision(), *stamp};
    else
        onDisk_.reset();
}

std::string AppointmentBook::keepDamagedFile(const DataFile::Contents& contents)
{
    // The next save writes only what was read; everything after the byte 0 must be safe
    // before that, in a copy or in the untouched file.
    const std::string name = dataFile_.path().filename().string();
    std::string notice = "Die Datei „";
    notice += name;
    notice += "“ enthält ab Byte ";
    notice += std::to_string(*contents.unreadableFrom);
    notice += " unlesbare Daten. Zeitwache liest sie nur bis dorthin. ";
    if (const auto copy = dataFile_.keepDamagedCopy(contents.bytes)) {
        std::error_code ec;
        const auto full = std::filesystem::absolute(*copy, ec);
        notice += "Eine vollständige Kopie der Datei liegt unter „";
        notice += (ec ? *copy : full).string();
        notice += "“.";
    } else {
        protectDataFile_ = true;
        notice += "Eine Kopie der Datei lässt sich neben ihr nicht anlegen; damit nichts verloren geht, wird „";
        notice += name;
        notice += "“ nicht überschrieben. Änderungen an Terminen werden nicht gespeichert, bis Zeitwache "
                  "beim nächsten Start eine Kopie anlegen kann.";
    }
    return notice;
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
    } catch (const std::exception& e) {
        // Start-up goes on: the user is told, as of a failed tick's run.
        result.error = errors::unexpectedInCheck(e.what()).what();
    } catch (...) {
        result.error = errors::unexpectedInCheck({}).what();
    }
    return result;
}

void AppointmentBook::changeHeld(const std::function<void()>& change)
{
    std::exception_ptr failure;
    {
        const DueCheck::Hold hold = dueCheck_.hold();
        userChange_ = true;
        try {
            change();
        } catch (...) {
            failure = std::current_exception();
        }
        userChange_ = false;
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
