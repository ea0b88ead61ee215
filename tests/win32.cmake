# Tests of the Windows adapters, run under Wine with the core's tests.
target_sources(melodane_tests PRIVATE
  app/win32/registry_settings_store_test.cpp
  sound/win32/winmm_midi_out_test.cpp
)
target_link_libraries(melodane_tests PRIVATE melodane_win32)
target_link_libraries(melodane_tests PRIVATE melodane_win32)

# The observable MIDI driver, twice: as Wine's audio driver and as its MIDI mapper.
foreach(kind winefake midimap)
  add_library(fake_midi_${kind} SHARED e2e/win32/fake_midi_driver.cpp e2e/win32/${kind}.def)
  target_link_libraries(fake_midi_${kind} PRIVATE winmm)
  target_compile_definitions(fake_midi_${kind} PRIVATE UNICODE _UNICODE)
  set_target_properties(fake_midi_${kind} PROPERTIES
    PREFIX "" OUTPUT_NAME ${kind}
    RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
endforeach()
set_target_properties(fake_midi_winefake PROPERTIES SUFFIX ".drv")
target_compile_definitions(fake_midi_midimap PRIVATE FAKE_MIDI_MAPPER)

# The whole program, driven from another process.
add_executable(melodane_e2e
  e2e/win32/program_driver.cpp
  e2e/win32/program_test.cpp
  e2e/win32/keys_and_tray_test.cpp
)
target_include_directories(melodane_e2e PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(melodane_e2e PRIVATE melodane_win32 ${MELODANE_GTEST_MAIN})
set_target_properties(melodane_e2e PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
add_dependencies(melodane_e2e melodane fake_midi_winefake fake_midi_midimap)
gtest_discover_tests(melodane_e2e DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 120 FIXTURES_REQUIRED wine_session)
add_dependencies(melodane_tests fake_midi_winefake fake_midi_midimap)

# The rig that runs every Windows test (see tests/CMakeLists.txt) stops after the last.
add_test(NAME wine_session_stop
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/lib/wine-session stop ${MELODANE_WINE_SESSION})
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session)
set(MELODANE_TEST_PROPERTIES TIMEOUT 60 FIXTURES_REQUIRED wine_session)

add_test(NAME win32_window_screenshot
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/win32/window_screenshot.sh ${MELODANE_WINE_SESSION}
          ${PROJECT_BINARY_DIR}/bin ${PROJECT_BINARY_DIR}/artifacts/win32-main-window.png)
set_tests_properties(win32_window_screenshot PROPERTIES
  LABELS e2e RUN_SERIAL TRUE TIMEOUT 120 FIXTURES_REQUIRED wine_session)
