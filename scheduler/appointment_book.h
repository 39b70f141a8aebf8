#pragma once
#include "common/civil_time.h"
#include "scheduler/due_check.h"
#include "store/appointment_list.h"
#include "store/data_file.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace zw {

// The appointments of one run: the data file that mirrors the list, the copy an older
// file is converted from, and the due check over them. The list itself is the caller's,
// so that whoever carries appointments out can work on it too.
class AppointmentBook {
public:
    AppointmentBook(const std::filesystem::path& directory, AppointmentList& list, const Clock& clock,
                    AppointmentExecutor& executor);

    // Loads the data file, or creates an empty one when there is none, after removing the
    // temporary files that killed saves of earlier runs left beside it. Returns what the user
    // has to be told, once, in a warning box (German, UTF-8), or nothing:
    // - the file is unusable, or the directory cannot be written;
    // - the file holds a byte 0: it is read up to there as always, and a byte-exact copy is
    //   kept beside it first (termine.dat.beschaedigt, .1, ...), whose full path the text
    //   names; when no copy can be written, the file is not overwritten in this run.
    std::optional<std::string> load();

    struct FirstCheck {
        bool converted = false;             // an older file was converted
        std::optional<std::string> error;   // the check failed for another reason
    };
    // The first due check after loading; when it fails on lines of the older layout, they
    // are converted (the old file kept as termine.v22).
    FirstCheck runFirstCheck();

    // Stores an appointment from the editor (see AppointmentList::place) and writes the
    // file, holding the due check back meanwhile: a check that the overwrite query's box
    // lets through runs once the store is complete, so it can never move the positions the
    // store has found. Throws the conversion error of a damaged line and a failed save;
    // `edited` is right in every case.
    AppointmentList::StoreResult store(std::string line, AppointmentList::TrackedEntry& edited,
                                       const AppointmentList::OverwriteQuery& ask);

    // Removes the entries at these positions (ascending) and writes the file once, holding
    // the due check back in the same way. Throws a failed save.
    void removeEntries(const std::vector<size_t>& positions);

    AppointmentList& list() { return list_; }
    DueCheck& dueCheck() { return dueCheck_; }
    const DataFile& dataFile() const { return dataFile_; }

private:
    // Runs a change of the list and its save while the due check is held back; an error (of
    // any type) is rethrown once the held-back minutes have run, not while the hold unwinds.
    void changeHeld(const std::function<void()>& change);
    // Keeps a copy of a file that reading stops short in, or protects the file; the notice.
    std::string keepDamagedFile(const DataFile::Contents& contents);
    // The file now holds the list's lines as save() writes them, and has this stamp.
    void rememberOnDisk(const std::optional<FileStamp>& stamp);

    const Clock& clock_;
    DataFile dataFile_;
    DataFile backupFile_;
    AppointmentList& list_;
    DueCheck dueCheck_;
    // A data file that exists but cannot be read is never overwritten.
    bool protectDataFile_ = false;
    // The file could not be created at start-up: the minute's saves keep trying quietly
    // until one succeeds; a store or deletion by the user reports its failure.
    bool cannotCreate_ = false;
    bool userChange_ = false;
    struct OnDisk {
        uint64_t revision;
        FileStamp stamp;
    };
    std::optional<OnDisk> onDisk_;
};

} // namespace zw
