# Runs at install time, when the prefix is known: puts the desktop entry and
# the application icon where the desktop's menu looks for them, with the
# entry starting the vault by its absolute installed path.
# Set before: NIMBREL_DATA_DIR (empty: derived from the prefix),
# NIMBREL_DESKTOP_TEMPLATE, NIMBREL_ICON_SVG, NIMBREL_ICON_PNG.
# Nothing is written into the build tree: another account than the builder's
# may install from it.

get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
if(NIMBREL_DATA_DIR)
    set(data_dir "${NIMBREL_DATA_DIR}")
elseif(prefix MATCHES "^(.+)/opt/[^/]+$")
    # ~/.local/opt/nimbrel belongs to ~/.local/share, which the desktop reads
    # as the user's data directory (XDG_DATA_HOME).
    set(data_dir "${CMAKE_MATCH_1}/share")
elseif(prefix MATCHES "^/opt/[^/]+$")
    set(data_dir "/usr/local/share")
else()
    set(data_dir "${prefix}/share")
endif()

# Desktop entry values: Exec is quoted by the entry's own rules when the path
# holds a reserved character; both then escape backslashes as strings do.
set(program "${prefix}/Nimbrel")
set(exec "${program}")
if(exec MATCHES "[] \t\"'\\\\><~|&;$*?#()`[]")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" exec "${exec}")
    set(exec "\"${exec}\"")
endif()
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")
string(REPLACE "\\" "\\\\" tryexec "${program}")
set(NIMBREL_DESKTOP_EXEC "${exec}")
set(NIMBREL_DESKTOP_TRYEXEC "${tryexec}")
set(entry "$ENV{DESTDIR}${data_dir}/applications/nimbrel.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${NIMBREL_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")
file(INSTALL DESTINATION "${data_dir}/icons/hicolor/scalable/apps" TYPE FILE
     RENAME nimbrel.svg FILES "${NIMBREL_ICON_SVG}")
file(INSTALL DESTINATION "${data_dir}/icons/hicolor/256x256/apps" TYPE FILE
     RENAME nimbrel.png FILES "${NIMBREL_ICON_PNG}")
