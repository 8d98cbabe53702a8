# Checks that includes point one way between the program's folders:
#   controls <- wrap <- record <- form <- banks <- graph <- variants <- present
#            <- answer <- app <- places <- ui <- worksheet <- report <- program
# A file may include headers of its own folder and of the folders before it,
# never of one after it; the program never includes the test support
# (FakeServices.h and the rest under tests/support), which the tools may.
# The new numbers (variants) are pure functions, seed in, pairs out: they
# know nothing of the window, so they include nothing of form/ either.
# Run as: cmake -DSOURCE_DIR=<checkout> -P include_order.cmake
cmake_policy(SET CMP0057 NEW)
set(LAYERS controls wrap record form banks graph variants present answer app places ui worksheet report program)
# Folders a folder may not include although they come before it.
set(NEVER_variants form)
file(GLOB_RECURSE FILES "${SOURCE_DIR}/src/*.cpp" "${SOURCE_DIR}/src/*.h")
file(GLOB SUPPORT RELATIVE "${SOURCE_DIR}/tests/support" "${SOURCE_DIR}/tests/support/*.h")
set(FAULTS 0)
set(CHECKED 0)
foreach(F ${FILES})
  file(RELATIVE_PATH REL "${SOURCE_DIR}/src" "${F}")
  string(REGEX MATCH "^[a-z]+" FOLDER "${REL}")
  list(FIND LAYERS "${FOLDER}" OWN)
  if(OWN EQUAL -1)
    message(SEND_ERROR "${REL}: folder ${FOLDER} has no place in the layer order")
    math(EXPR FAULTS "${FAULTS} + 1")
    continue()
  endif()
  file(STRINGS "${F}" LINES REGEX "^#include \"")
  foreach(L ${LINES})
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" INC "${L}")
    math(EXPR CHECKED "${CHECKED} + 1")
    list(FIND SUPPORT "${INC}" IS_SUPPORT)
    if(NOT IS_SUPPORT EQUAL -1)
      message(SEND_ERROR "${REL} includes the test support ${INC}")
      math(EXPR FAULTS "${FAULTS} + 1")
      continue()
    endif()
    string(REGEX MATCH "^[a-z]+/" HEAD "${INC}")
    if(NOT HEAD)
      continue() # a header of its own folder, next to it
    endif()
    string(REGEX REPLACE "/$" "" TO "${HEAD}")
    list(FIND LAYERS "${TO}" THEIRS)
    if(THEIRS EQUAL -1)
      message(SEND_ERROR "${REL} includes ${INC}, outside the program's folders")
      math(EXPR FAULTS "${FAULTS} + 1")
    elseif("${TO}" IN_LIST NEVER_${FOLDER})
      message(SEND_ERROR "${REL} (${FOLDER}) includes ${INC}: ${FOLDER} knows nothing of ${TO}")
      math(EXPR FAULTS "${FAULTS} + 1")
    elseif(THEIRS GREATER OWN)
      message(SEND_ERROR "${REL} (${FOLDER}) includes ${INC} (${TO}), which comes after it")
      math(EXPR FAULTS "${FAULTS} + 1")
    endif()
  endforeach()
endforeach()
message(STATUS "include order: ${CHECKED} includes checked, ${FAULTS} pointing the wrong way")
