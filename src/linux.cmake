# The Linux program: a Qt 6 window, the built-in synthesizer, ALSA and JACK MIDI ports,
# X11 key state, Qt Network for the update check.
find_package(Qt6 REQUIRED COMPONENTS Widgets Network)
find_package(PkgConfig REQUIRED)
pkg_check_modules(FLUIDSYNTH REQUIRED IMPORTED_TARGET fluidsynth)
pkg_check_modules(JACK REQUIRED IMPORTED_TARGET jack)
pkg_check_modules(ALSA REQUIRED IMPORTED_TARGET alsa)
pkg_check_modules(XLIBS REQUIRED IMPORTED_TARGET x11 xi)
find_package(SQLite3 REQUIRED)

add_library(melodane_linux_sound STATIC
  sound/linux/alsa_sequencer.cpp
  sound/linux/built_in_synth.cpp
  sound/linux/jack_midi.cpp
  sound/linux/linux_midi_out.cpp
  sound/linux/x11_key_map.cpp
  sound/linux/x11_key_state.cpp
)
target_link_libraries(melodane_linux_sound PUBLIC melodane_core
  PkgConfig::FLUIDSYNTH PkgConfig::JACK PkgConfig::ALSA PkgConfig::XLIBS Threads::Threads)

add_library(melodane_linux_app STATIC
  app/linux/ini_settings_store.cpp
  common/linux/whole_file.cpp
  app/linux/picture_box.cpp
  app/linux/qt_main_window.cpp
  app/linux/qt_tray_icon.cpp
  app/linux/runtime_lock_instance.cpp
  app/linux/stop_requests.cpp
  registry/linux/sqlite_registry_api.cpp
  registry/linux/autostart_run_key.cpp
  help/linux/qt_message_boxes.cpp
  help/linux/qt_network_transfer.cpp
  help/linux/xdg_open_launcher.cpp
  ${PROJECT_SOURCE_DIR}/resources/melodane.qrc
)
set_target_properties(melodane_linux_app PROPERTIES AUTOMOC ON AUTORCC ON)
target_link_libraries(melodane_linux_app PUBLIC melodane_core Qt6::Widgets Qt6::Network
  SQLite::SQLite3)

add_executable(melodane app/linux/main.cpp)
target_link_libraries(melodane PRIVATE melodane_linux_app melodane_linux_sound)

include(GNUInstallDirs)
install(TARGETS melodane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/linux/melodane.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/images/melodane-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME melodane.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/images/melodane.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The software centres' description, with the maker's site; the manual page, compressed
# without a time stamp, as Debian asks.
configure_file(${PROJECT_SOURCE_DIR}/resources/linux/com.brenwick.melodane.metainfo.xml
  ${CMAKE_CURRENT_BINARY_DIR}/com.brenwick.melodane.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/com.brenwick.melodane.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/resources/linux/melodane.1)
execute_process(COMMAND gzip -9nc INPUT_FILE ${PROJECT_SOURCE_DIR}/resources/linux/melodane.1
  OUTPUT_FILE ${CMAKE_CURRENT_BINARY_DIR}/melodane.1.gz COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/melodane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
