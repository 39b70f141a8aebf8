# The program's icon in the hicolor theme, for the desktop entry and the menus: every PNG
# size scripts/render-icons draws, and the drawing itself as the scalable size.
file(GLOB zeitwache_icon_pngs CONFIGURE_DEPENDS
     RELATIVE ${PROJECT_SOURCE_DIR}/icons/hicolor
     ${PROJECT_SOURCE_DIR}/icons/hicolor/*/apps/zeitwache.png)
foreach(png IN LISTS zeitwache_icon_pngs)
  get_filename_component(subdir ${png} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/icons/hicolor/${png}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${subdir})
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/icons/zeitwache.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
