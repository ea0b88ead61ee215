# Programs under test run in a rig (scripts/lib/*-session) that starts on first use. A
# runner script in the build folder names the rig's folder: <runner> <program> [args].
function(melodane_rig_runner runner session)
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/${runner} CONTENT
    "#!/bin/sh\nexec '${PROJECT_SOURCE_DIR}/scripts/lib/${runner}' '${session}' \"$@\"\n"
    @ONLY)
  file(CHMOD ${CMAKE_BINARY_DIR}/${runner} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endfunction()

if(MELODANE_PLATFORM STREQUAL "win32")
  # Under Wine, on a virtual desktop, in a fresh prefix.
  set(MELODANE_WINE_SESSION ${CMAKE_BINARY_DIR}/wine-session)
  melodane_rig_runner(wine-run ${MELODANE_WINE_SESSION})
  if(CMAKE_CROSSCOMPILING)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
  endif()
else()
  # On a virtual desktop with private XDG folders.
  set(MELODANE_X_SESSION ${CMAKE_BINARY_DIR}/x-session)
  melodane_rig_runner(x-run ${MELODANE_X_SESSION})
endif()
