# ZEITWACHE_DEBIAN_BUILDFLAGS=ON compiles and links with the flags Debian's own packages
# get (dpkg-buildflags, package dpkg-dev, with every hardening feature on: FORTIFY,
# stack protector, RELRO and BIND_NOW). They are read at configure time and go before the
# build type's flags, so -DCMAKE_BUILD_TYPE=Release still decides the optimisation.
option(ZEITWACHE_DEBIAN_BUILDFLAGS "Add Debian's hardening flags from dpkg-buildflags" OFF)
if(NOT ZEITWACHE_DEBIAN_BUILDFLAGS)
  return()
endif()

find_program(ZEITWACHE_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
function(zeitwache_dpkg_buildflag name out)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            ${ZEITWACHE_DPKG_BUILDFLAGS} --get ${name}
    # The source directory, so that -ffile-prefix-map shortens the paths of our sources.
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-buildflags --get ${name} failed (${result})")
  endif()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

zeitwache_dpkg_buildflag(CPPFLAGS deb_cppflags)
zeitwache_dpkg_buildflag(CXXFLAGS deb_cxxflags)
zeitwache_dpkg_buildflag(LDFLAGS deb_ldflags)
# Plain variables, not the cache: a second configure reads them afresh instead of adding
# them twice.
string(STRIP "${deb_cppflags} ${deb_cxxflags} ${CMAKE_CXX_FLAGS}" CMAKE_CXX_FLAGS)
string(STRIP "${deb_ldflags} ${CMAKE_EXE_LINKER_FLAGS}" CMAKE_EXE_LINKER_FLAGS)
string(STRIP "${deb_ldflags} ${CMAKE_SHARED_LINKER_FLAGS}" CMAKE_SHARED_LINKER_FLAGS)
message(STATUS "Debian build flags: ${CMAKE_CXX_FLAGS} | ${CMAKE_EXE_LINKER_FLAGS}")
