# Tests of the Linux adapters and window, run on the test rig's display.
find_package(Qt6 REQUIRED COMPONENTS Test Gui)
find_package(PkgConfig REQUIRED)
pkg_check_modules(XTST REQUIRED IMPORTED_TARGET xtst)
target_sources(melodane_tests PRIVATE
  app/linux/ini_settings_store_test.cpp
  app/linux/qt_main_window_test.cpp
  app/linux/runtime_lock_instance_test.cpp
  registry/linux/registry_platform.cpp
  help/linux/web_test.cpp
  sound/linux/linux_midi_out_test.cpp
  sound/linux/built_in_synth_test.cpp
  sound/linux/x11_key_state_test.cpp
)
target_link_libraries(melodane_tests PRIVATE
  melodane_linux_app melodane_linux_sound Qt6::Test Qt6::GuiPrivate PkgConfig::XTST)
set_target_properties(melodane_tests PROPERTIES CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/x-run)

# Made-up text where the program reads it (stored numbers and settings, the settings
# file, the fetched version text), in a build made with clang and its sanitizers
# (scripts/test makes one).
if(MELODANE_FUZZ)
  add_executable(input_fuzz fuzz/input_fuzz.cpp)
  target_include_directories(input_fuzz PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_options(input_fuzz PRIVATE -fsanitize=fuzzer)
  target_link_libraries(input_fuzz PRIVATE melodane_linux_app)
endif()

# The HTTPS transfer against test servers made for the run.
add_test(NAME QtNetworkTransfer.AgainstTestServers
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/e2e/version_server.py
    ${CMAKE_CURRENT_BINARY_DIR}/version-servers -- $<TARGET_FILE:melodane_tests>
    --gtest_filter=QtNetworkTransfer.*)

# The rig stops after the last test.
add_test(NAME x_session_stop
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/lib/x-session stop ${MELODANE_X_SESSION})
set_tests_properties(x_session_stop PROPERTIES FIXTURES_CLEANUP x_session)
set(MELODANE_TEST_PROPERTIES TIMEOUT 60 FIXTURES_REQUIRED x_session)
