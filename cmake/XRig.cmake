# Linux programs under test run in one rig: a virtual display and private XDG folders,
# started on first use (scripts/lib/x-session).
set(MELODANE_X_SESSION ${CMAKE_BINARY_DIR}/x-session)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/x-run CONTENT
  "#!/bin/sh\nexec '${PROJECT_SOURCE_DIR}/scripts/lib/x-run' '${MELODANE_X_SESSION}' \"$@\"\n"
  @ONLY)
file(CHMOD ${CMAKE_BINARY_DIR}/x-run PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
  GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
