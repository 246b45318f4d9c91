# tavrin-cli's Japanese message catalogue: po/ja.po compiled (and checked) by msgfmt at build time
# into <build>/share/locale, where the program run from the build folder finds it as
# <program>/../share/locale, as the installed one finds <prefix>/share/locale. The desktop
# program's texts are Japanese in the code and need no catalogue.
find_program(TAVRIN_MSGFMT msgfmt REQUIRED)
set(TAVRIN_LOCALE_DIR ${CMAKE_BINARY_DIR}/share/locale)
set(TAVRIN_JA_MO ${TAVRIN_LOCALE_DIR}/ja/LC_MESSAGES/tavrin-cli.mo)
add_custom_command(
  OUTPUT ${TAVRIN_JA_MO}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TAVRIN_LOCALE_DIR}/ja/LC_MESSAGES
  COMMAND ${TAVRIN_MSGFMT} --check -o ${TAVRIN_JA_MO} ${CMAKE_SOURCE_DIR}/po/ja.po
  DEPENDS ${CMAKE_SOURCE_DIR}/po/ja.po
  COMMENT "Japanese catalogue of tavrin-cli"
  VERBATIM)
add_custom_target(translations ALL DEPENDS ${TAVRIN_JA_MO})
add_dependencies(tavrin-cli translations)
install(FILES ${TAVRIN_JA_MO} DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/ja/LC_MESSAGES)
