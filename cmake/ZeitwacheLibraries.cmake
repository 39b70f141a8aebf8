# Each folder builds one library from the sources it holds, so that a file added to a
# folder needs no edit of a shared list.

# A library of the Qt-free core: standard library only.
function(zeitwache_core_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  set(links ${ARGN})
  if(sources MATCHES "\\.cpp")
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${links})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${links})
  endif()
endfunction()

# A window layer: Qt Widgets on top of the core. It joins the set that the program and the
# window tests link (zeitwache_gui).
function(zeitwache_gui_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  # Only the libraries it names: a layer that uses code of one it does not name fails to
  # link, so the dependencies stay those the folders declare.
  target_link_libraries(${name} PUBLIC Qt6::Widgets ${ARGN})
  set_property(GLOBAL APPEND PROPERTY ZEITWACHE_GUI_LIBS ${name})
endfunction()
