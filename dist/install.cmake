# Where an install puts the game, and tovask_install_program for each program
# with its manual page. Included before the tools, so that each of them
# installs itself with one line.
#
# Two layouts from one build. A plain `cmake --install` follows GNUInstallDirs
# (bin/, share/tovask) unless TOVASK_INSTALL_GAMEDIR and
# TOVASK_INSTALL_GAMEDATADIR say otherwise. The Debian package (CPack, see
# dist/CMakeLists.txt) puts the programs where Debian games go: games/ and
# share/games/tovask. The game finds its data beside itself in either.
# Components: "common" (manual pages, icons, metadata, documents) goes into
# both; "plain" into a plain install only; "debian" into the package only.
set(TOVASK_INSTALL_GAMEDIR ${CMAKE_INSTALL_BINDIR} CACHE STRING
  "Folder of the game binary in a plain install, relative to the prefix")
set(TOVASK_INSTALL_GAMEDATADIR ${CMAKE_INSTALL_DATADIR}/tovask CACHE STRING
  "Folder of the game's data in a plain install, relative to the prefix")
set(TOVASK_DEBIAN_GAMEDIR games)
set(TOVASK_DEBIAN_GAMEDATADIR share/games/tovask)
# The date of this release, in ISO form: manual pages and metadata.
set(TOVASK_RELEASE_DATE 2026-12-07)

find_program(TOVASK_GZIP gzip REQUIRED)

# tovask_install_program(TARGET PAGE): installs the program TARGET and its
# manual page PAGE, a roff file named NAME.SECTION in the calling folder, with
# @PROJECT_VERSION@ and @TOVASK_RELEASE_DATE@ filled in and compressed as
# Debian wants it (gzip -9, no name or time stamp). Section 6 marks the game,
# which a plain install puts in TOVASK_INSTALL_GAMEDIR, other programs in
# bin/; the Debian package has them all in games/.
function(tovask_install_program target page)
  get_filename_component(name ${page} NAME)
  string(REGEX MATCH "[^.]+$" section ${name})
  set(roff ${CMAKE_BINARY_DIR}/man/${name})
  configure_file(${page} ${roff} @ONLY)
  execute_process(COMMAND ${TOVASK_GZIP} -9nc INPUT_FILE ${roff} OUTPUT_FILE ${roff}.gz
    COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${roff}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section} COMPONENT common)
  set(dir ${CMAKE_INSTALL_BINDIR})
  if(section STREQUAL "6")
    set(dir ${TOVASK_INSTALL_GAMEDIR})
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION ${dir} COMPONENT plain)
  install(TARGETS ${target} RUNTIME DESTINATION ${TOVASK_DEBIAN_GAMEDIR} COMPONENT debian
    EXCLUDE_FROM_ALL)
  # As Debian strips: besides the symbols (CPACK_STRIP_FILES), the compilers'
  # notes in .comment and .note, which nothing reads at run time.
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${TOVASK_DEBIAN_GAMEDIR}/$<TARGET_FILE_NAME:${target}>\"
        COMMAND_ERROR_IS_FATAL ANY)
    endif()" COMPONENT debian EXCLUDE_FROM_ALL)
  # The metadata lists every installed program.
  set_property(GLOBAL APPEND PROPERTY TOVASK_INSTALLED_PROGRAMS ${target})
endfunction()
