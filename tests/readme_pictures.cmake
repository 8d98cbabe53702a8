# The README's pictures: every picture it shows is in docs/, and every
# picture in docs/ is shown (a picture that make pictures renamed or no
# longer makes would otherwise linger or go missing).
# Run as: cmake -DSOURCE_DIR=<checkout> -P readme_pictures.cmake
cmake_minimum_required(VERSION 3.25)
file(READ ${SOURCE_DIR}/README.md README)
# Pictures named only in a comment are not shown yet.
string(REGEX REPLACE "<!--[^>]*-->" "" README "${README}")
string(REGEX MATCHALL "\\(docs/[^)]+\\.png\\)" LINKS "${README}")
set(SHOWN)
foreach(LINK ${LINKS})
  string(REGEX REPLACE "^\\((.*)\\)$" "\\1" PICTURE "${LINK}")
  list(APPEND SHOWN ${PICTURE})
  if(NOT EXISTS ${SOURCE_DIR}/${PICTURE})
    message(SEND_ERROR "the README shows ${PICTURE}, which is not there")
  endif()
endforeach()
file(GLOB PICTURES RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/docs/*.png)
foreach(PICTURE ${PICTURES})
  if(NOT PICTURE IN_LIST SHOWN)
    message(SEND_ERROR "${PICTURE} is not shown in the README")
  endif()
endforeach()
list(LENGTH SHOWN COUNT)
message(STATUS "README pictures: ${COUNT} shown, all in docs/")
