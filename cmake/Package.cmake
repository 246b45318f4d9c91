# `cpack -G DEB` in a build folder makes tavrin_<version>_amd64.deb from the install rules. The
# libraries it needs are read off the programs (dpkg-shlibdeps), so the list follows what they
# link; only what is loaded at run time without a link is named here.
set(CPACK_PACKAGE_NAME tavrin)
set(CPACK_PACKAGE_VENDOR "Korva Time Systems")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the schedules of the VL-3400 annual program timer")
set(CPACK_PACKAGE_DESCRIPTION
    "Tavrin edits the channels, weekly programs, annual calendar, summer time and radio station of
the VL-3400 annual program timer, saves them as settings files, exports a CSV report and
transfers schedules by USB stick or serial cable. tavrin-cli does the same from a terminal.")
set(CPACK_PACKAGE_CONTACT "Tavrin maintainers <tavrin@localhost>")
set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}_${PROJECT_VERSION}_amd64")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The texts are drawn in a Japanese Gothic face; Qt's own dialogs speak Japanese with these. The
# platform plugins (X11, Wayland) are loaded at run time, so no library link names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
