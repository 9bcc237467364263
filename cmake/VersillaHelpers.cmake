# Shared build settings: one warnings target every Versilla target links.
add_library(versilla_warnings INTERFACE)
target_compile_options(versilla_warnings INTERFACE
  $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic>)
if(VERSILLA_SANITIZE)
  target_compile_options(versilla_warnings INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
  target_link_options(versilla_warnings INTERFACE -fsanitize=address,undefined)
endif()
if(VERSILLA_FUZZ)
  # Coverage instrumentation for everything the fuzz targets link.
  target_compile_options(versilla_warnings INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(versilla_warnings INTERFACE -fsanitize=address,undefined)
endif()

# versilla_add_library(<name> [LIBS <targets...>])
# One library per subsystem folder, built from every .cpp in the folder (and its
# sub-folders). A folder without sources yet becomes an interface library so that
# the dependency graph stays the same while it fills up.
function(versilla_add_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE versilla_warnings)
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
  endif()
endfunction()

# versilla_add_test(<name> SOURCES <files...> LIBS <targets...> [QT])
# One GoogleTest executable registered with CTest. QT tests run offscreen, so no
# display is ever needed.
function(versilla_add_test name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} versilla_testsupport versilla_warnings)
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE versilla_testsupport_qtmain Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE
    VERSILLA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    VERSILLA_CORPUS_DIR="${CMAKE_SOURCE_DIR}/../shared/corpus"
    VERSILLA_DATA_DIR="${VERSILLA_DATA_DIR}"
    VERSILLA_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  if(ARG_QT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()
