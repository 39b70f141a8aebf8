# Every build with tests replays the stored corpora: each fuzz target's entry point built
# as a plain program with replay_main.cpp, with whatever compiler and sanitizers the build
# uses, and one test per target that feeds it corpus/NAME. An input that once found a
# fault so keeps guarding against it without clang.
include(${CMAKE_CURRENT_LIST_DIR}/targets.cmake)

set(fuzz_dir ${CMAKE_CURRENT_LIST_DIR})
add_library(zw_fuzz_replay_main OBJECT ${fuzz_dir}/replay_main.cpp)
foreach(name IN LISTS ZEITWACHE_FUZZ_TARGETS)
  add_executable(${name}_replay ${fuzz_dir}/${name}_fuzz.cpp $<TARGET_OBJECTS:zw_fuzz_replay_main>)
  target_link_libraries(${name}_replay PRIVATE zeitwache_core)
  add_test(NAME fuzz_replay_${name} COMMAND ${name}_replay ${fuzz_dir}/corpus/${name})
  set_tests_properties(fuzz_replay_${name} PROPERTIES LABELS "core;fuzz" TIMEOUT 120)
endforeach()
