# Tests of the Windows adapters and window, run under Wine with the core's tests. The
# program's resources are linked in, as the window loads its images from its own file.
target_sources(melodane_tests PRIVATE
  app/win32/main_window_test.cpp
  registry/win32/registry_platform.cpp
  help/win32/web_test.cpp
  ${PROJECT_SOURCE_DIR}/resources/melodane.rc
)
target_include_directories(melodane_tests PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/resources)
target_link_libraries(melodane_tests PRIVATE melodane_win32)

# The observable MIDI driver, twice: as Wine's audio driver and as its MIDI mapper.
foreach(kind winefake midimap)
  add_library(fake_midi_${kind} SHARED fakes/win32/fake_midi_driver.cpp fakes/win32/${kind}.def)
  target_link_libraries(fake_midi_${kind} PRIVATE winmm)
  target_compile_definitions(fake_midi_${kind} PRIVATE UNICODE _UNICODE)
  set_target_properties(fake_midi_${kind} PROPERTIES
    PREFIX "" OUTPUT_NAME ${kind}
    RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
endforeach()
set_target_properties(fake_midi_winefake PROPERTIES SUFFIX ".drv")
target_compile_definitions(fake_midi_midimap PRIVATE FAKE_MIDI_MAPPER)
add_dependencies(melodane_tests fake_midi_winefake fake_midi_midimap)

# Beside the program: a rundll32.exe that records its command line and opens nothing,
# found before the system's; and the tool that trusts the test servers' authority.
add_executable(fake_rundll32 WIN32 fakes/win32/fake_rundll32.cpp)
set_target_properties(fake_rundll32 PROPERTIES OUTPUT_NAME rundll32
  RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
add_executable(trust_ca fakes/win32/trust_ca.cpp)
target_include_directories(trust_ca PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(trust_ca PRIVATE crypt32)
target_link_libraries(melodane_tests PRIVATE crypt32)

# The HTTPS transfer against test servers made for the run.
add_test(NAME WininetTransfer.AgainstTestServers
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/e2e/version_server.py
    ${CMAKE_CURRENT_BINARY_DIR}/version-servers -- ${CMAKE_BINARY_DIR}/wine-run
    $<TARGET_FILE:melodane_tests> --gtest_filter=WininetTransfer.*)
set_tests_properties(WininetTransfer.AgainstTestServers PROPERTIES FIXTURES_REQUIRED wine_session)
add_dependencies(melodane_tests fake_rundll32 trust_ca)

# The rig that runs every Windows test (see tests/CMakeLists.txt) stops after the last.
add_test(NAME wine_session_stop
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/lib/wine-session stop ${MELODANE_WINE_SESSION})
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session)
set(MELODANE_TEST_PROPERTIES TIMEOUT 60 FIXTURES_REQUIRED wine_session)
