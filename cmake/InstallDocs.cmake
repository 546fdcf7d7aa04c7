# Helpers for the files that go beside the programs: manual pages and other documents are
# installed compressed (gzip -9n: no name, no time stamp, so that builds are reproducible).
include(GNUInstallDirs)
find_program(GZIP_PROGRAM gzip REQUIRED)

# farsighter_install_gzipped(SOURCE DESTINATION [RENAME NAME]): installs SOURCE (relative to
# the calling folder) as NAME.gz, NAME defaulting to the file's own name.
function(farsighter_install_gzipped source destination)
  cmake_parse_arguments(ARG "" "RENAME" "" ${ARGN})
  get_filename_component(name "${source}" NAME)
  if(ARG_RENAME)
    set(name "${ARG_RENAME}")
  endif()
  set(input "${CMAKE_CURRENT_SOURCE_DIR}/${source}")
  set(output "${CMAKE_CURRENT_BINARY_DIR}/gz/${name}.gz")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/gz"
    COMMAND ${GZIP_PROGRAM} -9nc "${input}" > "${output}"
    DEPENDS "${input}"
    VERBATIM)
  string(MAKE_C_IDENTIFIER "gz_${name}" target)
  add_custom_target(${target} ALL DEPENDS "${output}")
  install(FILES "${output}" DESTINATION "${destination}")
endfunction()

# farsighter_install_manual(PAGE): a section 1 manual page.
function(farsighter_install_manual page)
  farsighter_install_gzipped("${page}" "${CMAKE_INSTALL_MANDIR}/man1")
endfunction()
