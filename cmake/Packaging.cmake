# The packages, made by CPack from the install rules (scripts/package builds them): on
# Windows melodane.zip, the program and a short README.txt at its root (the update check's
# download is a file of that name); on Linux a Debian package, melodane_<version>_<arch>.deb.
set(MELODANE_MAINTAINER "Melodane maintainers <maintainers@melodane.example>" CACHE STRING
  "The packages' maintainer: name <address>")

set(CPACK_PACKAGE_NAME melodane)
set(CPACK_PACKAGE_VENDOR "Brenwick Software")
set(CPACK_PACKAGE_CONTACT "${MELODANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "play a musical note for every key typed")
set(CPACK_PACKAGE_HOMEPAGE_URL "${MELODANE_SITE_BASE}/melodane.htm")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})

if(MELODANE_PLATFORM STREQUAL "win32")
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME melodane)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  # Windows line ends, for Notepad.
  configure_file(${PROJECT_SOURCE_DIR}/resources/win32/README.txt
    ${PROJECT_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/README.txt DESTINATION .)
else()
  include(GNUInstallDirs)
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION sound)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The built-in synthesizer plays the system's General MIDI soundfont; xdg-open opens
  # the maker's pages, which the program does without.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fluid-soundfont-gm | sf2-soundfont-gm")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  set(CPACK_PACKAGE_DESCRIPTION
    "Melodane plays a musical note for every key typed, anywhere on the desktop,
just for fun. Pick a MIDI device, one of the 128 General MIDI instruments, a
tone and a volume; the program waits in the notification area, remembers the
choices, and can start at logon. It plays through its built-in synthesizer
(FluidSynth with the General MIDI soundfont), or to ALSA sequencer and JACK
MIDI ports.
.
It never records what is typed.")

  # What Debian asks of every package: a machine-readable copyright file and the
  # changelog, compressed without a time stamp.
  configure_file(${PROJECT_SOURCE_DIR}/resources/linux/copyright
    ${PROJECT_BINARY_DIR}/copyright @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/resources/linux/changelog)
  execute_process(COMMAND gzip -9nc INPUT_FILE ${PROJECT_SOURCE_DIR}/resources/linux/changelog
    OUTPUT_FILE ${PROJECT_BINARY_DIR}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${PROJECT_BINARY_DIR}/copyright ${PROJECT_BINARY_DIR}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/melodane)
endif()

include(CPack)
