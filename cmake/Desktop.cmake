# What makes the desktop program a member of the desktop: its menu entry, icons, the settings
# file's type, the software-centre description, the manual pages and the user guide.
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
  install(FILES ${CMAKE_SOURCE_DIR}/docs/man/ja/tavrin.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)

  # The guide's pages are found in guide/ among the shipped files, so a program run from the build
  # folder finds them too (a page added to docs/guide is linked at the next build). Its
  # screenshots are taken by tools/screenshots.sh from this build's programs (target
  # guide-images, which the package build runs); without them the guide is shown without
  # pictures.
  set(TAVRIN_GUIDE_DIR ${CMAKE_BINARY_DIR}/share/tavrin/guide)
  file(MAKE_DIRECTORY ${TAVRIN_GUIDE_DIR})
  file(GLOB TAVRIN_GUIDE_PAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/guide/*.md)
  foreach(page IN LISTS TAVRIN_GUIDE_PAGES)
    get_filename_component(name ${page} NAME)
    file(CREATE_LINK ${page} ${TAVRIN_GUIDE_DIR}/${name} SYMBOLIC)
  endforeach()
  add_custom_target(guide-images
    COMMAND bash ${CMAKE_SOURCE_DIR}/tools/screenshots.sh ${CMAKE_BINARY_DIR}
            --guide ${CMAKE_SOURCE_DIR}/docs/guide ${TAVRIN_GUIDE_DIR}/images
    DEPENDS tavrin tavrin-cli vl3400-sim
    COMMENT "Screenshots for the guide"
    VERBATIM USES_TERMINAL)
  install(FILES ${TAVRIN_GUIDE_PAGES} DESTINATION ${CMAKE_INSTALL_DATADIR}/tavrin/guide)
  install(DIRECTORY ${TAVRIN_GUIDE_DIR}/images DESTINATION ${CMAKE_INSTALL_DATADIR}/tavrin/guide
          OPTIONAL)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/docs/man/tavrin-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/docs/man/ja/tavrin-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
