# The checking builds: AddressSanitizer and UndefinedBehaviorSanitizer on the
# program's own code, and libFuzzer targets on top of them. Included at the end
# of the top-level CMakeLists.txt, once every target exists.
#
#   -DSOREMUKA_SANITIZE=ON   address and undefined-behaviour checks; any report
#                            ends the process with a failure
#   -DSOREMUKA_FUZZ=ON       also the fuzz targets under fuzz/ (needs clang, and
#                            SOREMUKA_SANITIZE)
option(SOREMUKA_SANITIZE "Build the program's own code with ASan and UBSan" OFF)
option(SOREMUKA_FUZZ "Build the libFuzzer targets under fuzz/" OFF)

if(SOREMUKA_FUZZ AND NOT SOREMUKA_SANITIZE)
  message(FATAL_ERROR "SOREMUKA_FUZZ needs SOREMUKA_SANITIZE=ON")
endif()
if(NOT SOREMUKA_SANITIZE)
  return()
endif()
if(SOREMUKA_FUZZ AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "SOREMUKA_FUZZ needs clang (CMAKE_CXX_COMPILER=clang++-14)")
endif()

set(SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer)
set(SANITIZE_COMPILE_FLAGS ${SANITIZE_FLAGS})
if(SOREMUKA_FUZZ)
  # Coverage for libFuzzer in every object; only the fuzz targets link the
  # fuzzer's own main, so the tests run as they always do.
  list(APPEND SANITIZE_COMPILE_FLAGS -fsanitize=fuzzer-no-link)
endif()

# The sanitizer runtimes read these defaults from the program itself, so every
# process of the suite (the tests, and the driver and program they start) gets
# them without any environment. Leaks are suppressed only inside third-party
# libraries, from the list kept in sanitize/lsan.supp.
file(READ ${CMAKE_SOURCE_DIR}/sanitize/lsan.supp LSAN_SUPPRESSIONS)
configure_file(${CMAKE_SOURCE_DIR}/sanitize/defaults.cpp.in
               ${CMAKE_BINARY_DIR}/sanitize_defaults.cpp @ONLY)
add_library(soremuka_sanitize_defaults OBJECT ${CMAKE_BINARY_DIR}/sanitize_defaults.cpp)

get_property(own_targets DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY BUILDSYSTEM_TARGETS)
foreach(t IN LISTS own_targets)
  get_target_property(type ${t} TYPE)
  if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
    target_compile_options(${t} PRIVATE ${SANITIZE_COMPILE_FLAGS})
  endif()
  if(type STREQUAL "EXECUTABLE")
    target_link_options(${t} PRIVATE ${SANITIZE_FLAGS})
    target_link_libraries(${t} PRIVATE soremuka_sanitize_defaults)
  endif()
endforeach()

if(SOREMUKA_FUZZ)
  add_subdirectory(fuzz)
endif()
