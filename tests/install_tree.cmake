# The install tree: installs the build into a scratch prefix, checks that it
# holds exactly the files a desktop program needs, and runs the installed
# program: it must find its sounds, its sound module and its roster under
# the prefix (not in the build folder), choose the results folder as the
# menu entry and the roster ask, and paint its first frame.
# Run as: cmake -DBUILD_DIR=<build> -DAPP_ID=<id> -P install_tree.cmake
cmake_minimum_required(VERSION 3.25)
set(ROOT ${BUILD_DIR}/test-out/install-tree)
set(PREFIX ${ROOT}/prefix)
file(REMOVE_RECURSE ${ROOT})
file(MAKE_DIRECTORY ${ROOT}/home ${ROOT}/cwd)

set(FAULTS 0)
macro(fault TEXT)
  message(SEND_ERROR "${TEXT}")
  math(EXPR FAULTS "${FAULTS} + 1")
endmacro()

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
  RESULT_VARIABLE RC OUTPUT_QUIET)
if(NOT RC EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${RC}")
endif()

# Exactly these files, nothing left out and nothing stray.
set(EXPECTED
  bin/soremuka
  lib/soremuka/libsoremuka-sound.so
  share/applications/${APP_ID}.desktop
  share/doc/soremuka/changelog.gz
  share/doc/soremuka/copyright
  share/icons/hicolor/256x256/apps/soremuka.png
  share/icons/hicolor/48x48/apps/soremuka.png
  share/icons/hicolor/scalable/apps/soremuka.svg
  share/man/man1/soremuka.1.gz
  share/metainfo/${APP_ID}.metainfo.xml
  share/soremuka/Maru.wav
  share/soremuka/SD05.wav
  share/soremuka/roster.ini)
file(GLOB_RECURSE FOUND RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT FOUND)
list(SORT EXPECTED)
if(NOT FOUND STREQUAL EXPECTED)
  fault("install tree differs:\n  expected ${EXPECTED}\n  found    ${FOUND}")
endif()

# The icons are of the sizes their folders say.
foreach(SIZE 48 256)
  file(READ ${PREFIX}/share/icons/hicolor/${SIZE}x${SIZE}/apps/soremuka.png HEAD LIMIT 24 HEX)
  string(SUBSTRING "${HEAD}" 32 16 DIMENSIONS)
  math(EXPR HEX_SIZE "${SIZE}" OUTPUT_FORMAT HEXADECIMAL)
  string(REPLACE "0x" "" HEX_SIZE "${HEX_SIZE}")
  string(LENGTH "${HEX_SIZE}" LEN)
  math(EXPR PAD "8 - ${LEN}")
  string(REPEAT "0" ${PAD} ZEROS)
  set(WANT "${ZEROS}${HEX_SIZE}${ZEROS}${HEX_SIZE}")
  if(NOT DIMENSIONS STREQUAL WANT)
    fault("the ${SIZE} pixel icon measures ${DIMENSIONS}")
  endif()
endforeach()

# The menu entry starts the program in the learner's own folder.
file(STRINGS ${PREFIX}/share/applications/${APP_ID}.desktop EXEC REGEX "^Exec=")
if(NOT EXEC STREQUAL "Exec=soremuka --learner-folder")
  fault("the menu entry says ${EXEC}")
endif()

# The manual page renders without a warning, the metainfo and the menu entry
# are valid: checked here where the tools are installed (always by
# make test-package).
find_program(MAN man)
if(MAN)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 MANWIDTH=80
    ${MAN} --warnings -E UTF-8 -l ${PREFIX}/share/man/man1/soremuka.1.gz
    RESULT_VARIABLE RC OUTPUT_VARIABLE PAGE ERROR_VARIABLE WARNINGS)
  if(NOT RC EQUAL 0 OR NOT WARNINGS STREQUAL "" OR NOT PAGE MATCHES "--learner-folder")
    fault("the manual page (${RC}): ${WARNINGS}")
  endif()
endif()
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  execute_process(COMMAND ${APPSTREAMCLI} validate --no-net ${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml
    RESULT_VARIABLE RC OUTPUT_VARIABLE OUT ERROR_VARIABLE OUT)
  if(NOT RC EQUAL 0)
    fault("appstreamcli validate: ${OUT}")
  endif()
endif()
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${PREFIX}/share/applications/${APP_ID}.desktop
    RESULT_VARIABLE RC OUTPUT_VARIABLE OUT ERROR_VARIABLE OUT)
  if(NOT RC EQUAL 0)
    fault("desktop-file-validate: ${OUT}")
  endif()
endif()

# The installed program, with a home of its own and no desktop settings.
set(RUN_ENV ${CMAKE_COMMAND} -E env --unset=XDG_DOCUMENTS_DIR --unset=XDG_CONFIG_HOME
  HOME=${ROOT}/home QT_QPA_PLATFORM=offscreen)

function(expect_line OUTPUT LINE)
  string(FIND "${OUTPUT}" "${LINE}\n" AT)
  if(AT EQUAL -1)
    string(FIND "${OUTPUT}" "${LINE}\t" AT)
  endif()
  if(AT EQUAL -1)
    fault("--paths lacks \"${LINE}\":\n${OUTPUT}")
    set(FAULTS ${FAULTS} PARENT_SCOPE)
  endif()
endfunction()

execute_process(COMMAND ${RUN_ENV} ${PREFIX}/bin/soremuka --paths --learner-folder
  WORKING_DIRECTORY ${ROOT}/cwd RESULT_VARIABLE RC OUTPUT_VARIABLE OUT ERROR_VARIABLE ERR)
if(NOT RC EQUAL 0)
  fault("--paths from the install tree ended with ${RC}:\n${OUT}${ERR}")
endif()
expect_line("${OUT}" "sounds\t${PREFIX}/share/soremuka")
expect_line("${OUT}" "sound module\t${PREFIX}/lib/soremuka/libsoremuka-sound.so")
expect_line("${OUT}" "roster\t${PREFIX}/share/soremuka/roster.ini")
expect_line("${OUT}" "results\t${ROOT}/home/Documents/ソレムカゼミ")
if(EXISTS ${ROOT}/home/Documents)
  fault("--paths made the learner's folder")
endif()

# A site's own roster beside the prefix wins over the sample, and its shared
# folder over the learner's own.
file(MAKE_DIRECTORY ${PREFIX}/etc/soremuka ${ROOT}/shared)
file(WRITE ${PREFIX}/etc/soremuka/roster.ini "[general]\nfolder=${ROOT}/shared\n")
execute_process(COMMAND ${RUN_ENV} ${PREFIX}/bin/soremuka --paths --learner-folder
  WORKING_DIRECTORY ${ROOT}/cwd RESULT_VARIABLE RC OUTPUT_VARIABLE OUT ERROR_VARIABLE ERR)
expect_line("${OUT}" "roster\t${PREFIX}/etc/soremuka/roster.ini")
expect_line("${OUT}" "results\t${ROOT}/shared")
file(REMOVE_RECURSE ${PREFIX}/etc)

# Started as the menu starts it, it makes the learner's folder and paints.
execute_process(COMMAND ${RUN_ENV} SOREMUKA_EXIT_AFTER_PAINT=1 ${PREFIX}/bin/soremuka --learner-folder
  WORKING_DIRECTORY ${ROOT}/cwd RESULT_VARIABLE RC OUTPUT_VARIABLE OUT ERROR_VARIABLE ERR TIMEOUT 60)
if(NOT RC EQUAL 0 OR NOT OUT MATCHES "^painted")
  fault("the installed program did not paint (${RC}):\n${OUT}${ERR}")
endif()
if(NOT IS_DIRECTORY "${ROOT}/home/Documents/ソレムカゼミ")
  fault("the learner's folder was not made")
endif()

# A --folder that cannot be made ends the program before any window.
file(WRITE ${ROOT}/a-file "")
execute_process(COMMAND ${RUN_ENV} ${PREFIX}/bin/soremuka --folder ${ROOT}/a-file/results
  WORKING_DIRECTORY ${ROOT}/cwd RESULT_VARIABLE RC OUTPUT_VARIABLE OUT ERROR_VARIABLE ERR TIMEOUT 60)
if(NOT RC EQUAL 2 OR NOT ERR MATCHES "--folder")
  fault("an unusable --folder ended with ${RC}: ${ERR}")
endif()

if(FAULTS GREATER 0)
  message(FATAL_ERROR "install tree: ${FAULTS} faults")
endif()
message(STATUS "install tree: ${PREFIX} holds the program, which finds its files there")
