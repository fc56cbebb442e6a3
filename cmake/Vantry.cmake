# Each area is one folder: its sources form a static library, and its
# *_test*.cpp files (tests live beside the code) form one test program.
#
#   vantry_area(NAME <lib> [LIBS <libs...>] [TEST_LIBS <libs...>])
#
# Sources are collected from the calling folder only (not subfolders), so a
# new source file needs no edit here.
function(vantry_area)
  cmake_parse_arguments(A "" "NAME" "LIBS;TEST_LIBS" ${ARGN})
  file(GLOB all_sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  set(lib_sources)
  set(test_sources)
  foreach(src IN LISTS all_sources)
    get_filename_component(base ${src} NAME)
    if(base MATCHES "_test")
      list(APPEND test_sources ${src})
    else()
      list(APPEND lib_sources ${src})
    endif()
  endforeach()

  if(lib_sources)
    add_library(${A_NAME} STATIC ${lib_sources})
    target_include_directories(${A_NAME} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${A_NAME} PUBLIC ${A_LIBS})
  else()
    # An area whose sources have not arrived yet.
    add_library(${A_NAME} INTERFACE)
    target_include_directories(${A_NAME} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${A_NAME} INTERFACE ${A_LIBS})
  endif()

  if(VANTRY_TESTS AND test_sources)
    vantry_test(${A_NAME}_tests SOURCES ${test_sources}
                LIBS ${A_NAME} ${A_TEST_LIBS})
  endif()
endfunction()

# What every test's environment loses: the display variables of the session
# the tests were started from (set as a test's ENVIRONMENT_MODIFICATION).
set(VANTRY_TEST_NO_DISPLAY
    "DISPLAY=unset:;WAYLAND_DISPLAY=unset:;WAYLAND_SOCKET=unset:;QT_QPA_PLATFORM=unset:")

#   vantry_test(<name> SOURCES <files...> [LIBS <libs...>])
# One GoogleTest program, built into build/tests and run by CTest.
function(vantry_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main
                        GTest::gmock Threads::Threads)
  set_target_properties(${name} PROPERTIES
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  # Tests that show real windows do so on Qt's offscreen platform (their
  # driver chooses it) and save their screenshots in VANTRY_SCREENSHOT_DIR. Leak reports from inside Qt
  # and fontconfig (their caches live until exit) are suppressed by a file
  # that names only their frames.
  # No test program may wait forever, and none sees the desktop it was
  # started from: a window shown there would wait for a user. Tests that
  # want windows choose Qt's offscreen platform themselves.
  set_tests_properties(${name} PROPERTIES TIMEOUT 900
    ENVIRONMENT "VANTRY_SOURCE_DIR=${PROJECT_SOURCE_DIR};VANTRY_BUILD_DIR=${CMAKE_BINARY_DIR};VANTRY_SCREENSHOT_DIR=${VANTRY_SCREENSHOT_DIR};LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/cmake/lsan-qt.supp:print_suppressions=0"
    ENVIRONMENT_MODIFICATION "${VANTRY_TEST_NO_DISPLAY}")
endfunction()

set(VANTRY_SCREENSHOT_DIR "${PROJECT_SOURCE_DIR}/build/screenshots" CACHE PATH
    "Where tests that show real windows save their screenshots")

find_package(Threads REQUIRED)
