#pragma once
// --neu, --liste, --export and --import: work on the appointments that needs no display.
#include "app/instance_channel.h"
#include "app/places.h"
#include "app/program_options.h"

#include <QStringList>

namespace zw {

class AppointmentBook;
class Clock;

// Carries the command out on the book's loaded list, the due check held back while the
// list changes, and writes the data file once. The reply is what the command line prints:
// the German report on success, else the reason with exit code 1 (not saved) or 2
// (refused, nothing changed).
InstanceReply runDataCommand(const ProgramRequest& request, AppointmentBook& book, const Clock& clock,
                             const QStringList& soundFolders);

// The same without a running program, on the data directory itself; the caller holds the
// instance lock.
InstanceReply runDataCommandDirectly(const ProgramRequest& request, const Places& places, const Clock& clock);

} // namespace zw
