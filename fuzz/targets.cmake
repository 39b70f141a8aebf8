# The fuzz targets: NAME_fuzz.cpp each, with its seeds in corpus/NAME.
set(ZEITWACHE_FUZZ_TARGETS data_file appointment_line conversion settings command_line editor icalendar)
