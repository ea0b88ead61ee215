# Windows programs built here run under Wine, in one rig: a virtual display and a fresh
# Wine prefix, started on first use (scripts/lib/wine-session).
set(MELODANE_WINE_SESSION ${CMAKE_BINARY_DIR}/wine-session)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/wine-run CONTENT
  "#!/bin/sh\nexec '${PROJECT_SOURCE_DIR}/scripts/lib/wine-run' '${MELODANE_WINE_SESSION}' \"$@\"\n"
  @ONLY)
file(CHMOD ${CMAKE_BINARY_DIR}/wine-run PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
  GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
