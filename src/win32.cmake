# The Windows program: raw Win32 adapters and the window.
enable_language(RC)

add_library(melodane_win32 STATIC
  sound/win32/winmm_midi_out.cpp
  app/win32/main_window.cpp
  app/win32/named_mutex_instance.cpp
  app/win32/registry_settings_store.cpp
  app/win32/shell_notify_icon.cpp
  registry/win32/advapi_registry_api.cpp
  help/win32/rundll_launcher.cpp
  help/win32/system_message_boxes.cpp
  help/win32/wininet_transfer.cpp
)
target_include_directories(melodane_win32 PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_definitions(melodane_win32 PUBLIC
  UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
target_link_libraries(melodane_win32 PUBLIC melodane_core advapi32 winmm comctl32 msimg32 shell32 wininet)

add_executable(melodane WIN32
  app/win32/main.cpp
  ${PROJECT_SOURCE_DIR}/resources/melodane.rc
)
target_include_directories(melodane PRIVATE ${PROJECT_SOURCE_DIR}/resources)
target_link_libraries(melodane PRIVATE melodane_win32)
if(MINGW)
  target_link_options(melodane PRIVATE -municode)
endif()
set_target_properties(melodane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
# At the package's root: the program needs nothing beside it.
install(TARGETS melodane RUNTIME DESTINATION .)
