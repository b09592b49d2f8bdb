# Run at install time: writes the desktop entry with the launcher's absolute path, since the
# games folder of a prefix such as ~/.local is seldom on PATH. Expects EMBERWING_DESKTOP_IN
# and EMBERWING_DESKTOP_OUT; CMAKE_INSTALL_PREFIX is the prefix installed to.
set(EMBERWING_EXEC "${CMAKE_INSTALL_PREFIX}/games/emberwing")
# Quoting as desktops read an Exec line: a path with characters outside these goes in
# double quotes with ", `, $ and \ escaped, and the value's own escapes double \ and %.
if(NOT EMBERWING_EXEC MATCHES "^[A-Za-z0-9/._+-]+$")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" EMBERWING_EXEC "${EMBERWING_EXEC}")
    set(EMBERWING_EXEC "\"${EMBERWING_EXEC}\"")
    string(REPLACE "\\" "\\\\" EMBERWING_EXEC "${EMBERWING_EXEC}")
    string(REPLACE "%" "%%" EMBERWING_EXEC "${EMBERWING_EXEC}")
endif()
configure_file("${EMBERWING_DESKTOP_IN}" "${EMBERWING_DESKTOP_OUT}" @ONLY)
