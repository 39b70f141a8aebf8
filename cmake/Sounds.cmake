# The alarm sounds: synthesised at build time by scripts/make-sounds into the program's
# directory, where the editor's sound list looks for wave files, and installed with the
# program's data. Include after the window layers, when the target zeitwache exists.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# The script names its files, so that a sound added there needs no edit here.
execute_process(
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/make-sounds --list
  OUTPUT_VARIABLE ZEITWACHE_SOUND_NAMES OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "\n" ";" ZEITWACHE_SOUND_NAMES "${ZEITWACHE_SOUND_NAMES}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make-sounds)

# The executable's directory; a set RUNTIME_OUTPUT_DIRECTORY moves it.
get_target_property(zeitwache_sound_dir zeitwache RUNTIME_OUTPUT_DIRECTORY)
if(NOT zeitwache_sound_dir)
  get_target_property(zeitwache_sound_dir zeitwache BINARY_DIR)
endif()

set(zeitwache_sound_files)
foreach(name IN LISTS ZEITWACHE_SOUND_NAMES)
  list(APPEND zeitwache_sound_files ${zeitwache_sound_dir}/${name})
endforeach()

add_custom_command(
  OUTPUT ${zeitwache_sound_files}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/make-sounds ${zeitwache_sound_dir}
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make-sounds
  COMMENT "Synthesising the alarm sounds"
  VERBATIM)
add_custom_target(zeitwache_sounds DEPENDS ${zeitwache_sound_files})
add_dependencies(zeitwache zeitwache_sounds)

install(FILES ${zeitwache_sound_files} DESTINATION ${ZEITWACHE_DATA_INSTALL_DIR})

# Each sound is present, loud enough, unclipped, click-free and short.
add_test(NAME sounds_check
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/check-sounds
          ${zeitwache_sound_dir} ${ZEITWACHE_SOUND_NAMES})
set_tests_properties(sounds_check PROPERTIES LABELS sounds)
