# What makes the desktop program a member of the desktop: its menu entry, icons, the settings
# file's type, the software-centre description and the manual pages.
set(TAVRIN_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/src/resources/desktop)
set(TAVRIN_APP_ID jp.korva.Tavrin)

if(TAVRIN_GUI)
  install(FILES ${TAVRIN_DESKTOP_DIR}/${TAVRIN_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${TAVRIN_DESKTOP_DIR}/${TAVRIN_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${TAVRIN_DESKTOP_DIR}/${TAVRIN_APP_ID}.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${TAVRIN_DESKTOP_DIR}/icons/${size}x${size}/${TAVRIN_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  install(FILES ${CMAKE_SOURCE_DIR}/docs/man/tavrin.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/docs/man/tavrin-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
