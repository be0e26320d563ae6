# Shared build settings and the helpers every layer uses.

add_library(lectoro_warnings INTERFACE)
target_compile_options(lectoro_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Wimplicit-fallthrough -Wformat=2 -Wmissing-declarations)

if(LECTORO_SANITIZE AND LECTORO_SANITIZE_THREAD)
  message(FATAL_ERROR "The address and thread sanitizers cannot be combined; choose one")
endif()
if(LECTORO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  # CTest starts every test in a process of its own. The sanitizers' metadata is most of a test
  # program's data, and in a position-independent program every pointer in it is relocated at
  # start-up: about half of each test's CPU time went to that, for nothing a test needs.
  add_link_options($<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:-no-pie>)
endif()
if(LECTORO_SANITIZE_THREAD)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# Where the library's bundle (resources/) and the sample books live, for tests and the host.
set(LECTORO_RESOURCES_DIR ${PROJECT_SOURCE_DIR}/resources)
set(LECTORO_SAMPLES_DIR ${PROJECT_SOURCE_DIR}/samples)
# The library's bundle as built: resources/ plus files copied in at build time (fonts).
set(LECTORO_BUNDLE_DIR ${PROJECT_BINARY_DIR}/LectoroSDKWithReader.bundle)

option(LECTORO_UNITY_BUILD "Compile each library and test program in batches of sources (CMake unity build)" OFF)
set(LECTORO_UNITY_BATCH_SIZE 16 CACHE STRING "Sources per unity batch")
if(LECTORO_UNITY_BUILD)
  # Only targets made after this point, which is every target of ours.
  set(CMAKE_UNITY_BUILD ON)
  set(CMAKE_UNITY_BUILD_BATCH_SIZE ${LECTORO_UNITY_BATCH_SIZE})
endif()

# lectoro_add_part(<target> <dir> [FILES <globs under dir>...] [FOLDERS <folders under dir>...]
#                  [PARTS ...] [DEPS ...] [PRIVATE_DEPS ...])
# A part of a layer with a library of its own: the .cpp files below <dir> that match the globs
# (so a file split in two stays in when its new half matches) and every .cpp below the FOLDERS.
# The layer names its parts with PARTS; it leaves their files out and links them. A part may
# itself name smaller parts the same way. Parts exist so that a program needing only them (a
# fuzzer, the companion framework) does not compile the whole layer; a part must not call into
# the rest of it.
function(lectoro_add_part target dir)
  cmake_parse_arguments(A "" "" "FILES;FOLDERS;PARTS;DEPS;PRIVATE_DEPS" ${ARGN})
  set(srcs)
  foreach(pattern ${A_FILES})
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/${pattern})
    list(APPEND srcs ${found})
  endforeach()
  foreach(folder ${A_FOLDERS})
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/${folder}/*.cpp)
    list(APPEND srcs ${found})
  endforeach()
  list(REMOVE_DUPLICATES srcs)
  foreach(part ${A_PARTS})
    get_target_property(part_srcs ${part} SOURCES)
    list(REMOVE_ITEM srcs ${part_srcs})
  endforeach()
  if(NOT srcs)
    message(FATAL_ERROR "lectoro_add_part(${target}): no file of ${dir} matches ${A_FILES} ${A_FOLDERS}")
  endif()
  _lectoro_static_library(${target} "${srcs}" "${A_PARTS};${A_DEPS}" "${A_PRIVATE_DEPS}")
endfunction()

# lectoro_add_layer(<target> <dir> [PARTS ...] [EXCLUDE <folders under dir>...] [DEPS ...] [PRIVATE_DEPS ...])
# A layer is every .cpp below <dir> except those of its parts and of the EXCLUDE folders.
# Headers are included from the project root: #include "platform/base/Value.h"
function(lectoro_add_layer target dir)
  cmake_parse_arguments(A "" "" "PARTS;EXCLUDE;DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
  foreach(folder ${A_EXCLUDE})
    list(FILTER srcs EXCLUDE REGEX "^${PROJECT_SOURCE_DIR}/${dir}/${folder}/")
  endforeach()
  foreach(part ${A_PARTS})
    get_target_property(part_srcs ${part} SOURCES)
    list(REMOVE_ITEM srcs ${part_srcs})
  endforeach()
  if(srcs)
    _lectoro_static_library(${target} "${srcs}" "${A_PARTS};${A_DEPS}" "${A_PRIVATE_DEPS}")
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${A_PARTS} ${A_DEPS})
  endif()
endfunction()

function(_lectoro_static_library target srcs deps private_deps)
  add_library(${target} STATIC ${srcs})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${deps} PRIVATE ${private_deps} lectoro_warnings)
  target_compile_definitions(${target} PRIVATE
    LECTORO_RESOURCES_DIR="${LECTORO_RESOURCES_DIR}"
    LECTORO_BUNDLE_DIR="${LECTORO_BUNDLE_DIR}")
endfunction()

# lectoro_add_tests(<name> <dir under tests/> [LIBS ...])
# One test executable per layer or subsystem: every .cpp below tests/<dir>.
function(lectoro_add_tests name dir)
  cmake_parse_arguments(A "" "" "LIBS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name}_tests ${srcs})
  target_link_libraries(${name}_tests PRIVATE ${A_LIBS} GTest::gtest GTest::gmock GTest::gtest_main lectoro_warnings)
  target_include_directories(${name}_tests PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name}_tests PRIVATE
    LECTORO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    LECTORO_RESOURCES_DIR="${LECTORO_RESOURCES_DIR}"
    LECTORO_BUNDLE_DIR="${LECTORO_BUNDLE_DIR}"
    LECTORO_SAMPLES_DIR="${LECTORO_SAMPLES_DIR}"
    LECTORO_TESTS_DIR="${PROJECT_SOURCE_DIR}/tests")
  # NO_PRETTY_VALUES: a test's CTest name is its gtest name; parameter values (which can be raw
  # bytes and addresses when a case has no PrintTo) stay out of it, so names are stable between runs.
  gtest_discover_tests(${name}_tests DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES PROPERTIES TIMEOUT 120)
  # Decided once the folder has set the program's properties (UNITY_BUILD OFF comes after this).
  cmake_language(EVAL CODE
    "cmake_language(DEFER DIRECTORY [[${CMAKE_CURRENT_SOURCE_DIR}]] CALL _lectoro_precompile_test_headers ${name}_tests)")
endfunction()

# A test program compiled file by file parses GoogleTest and GoogleMock once per file, about
# 40% of each file's compile; it parses them once instead. Batched programs parse them once per
# batch, where a precompiled header saved too little to keep.
function(_lectoro_precompile_test_headers target)
  get_target_property(unity ${target} UNITY_BUILD)
  if(NOT unity)
    target_precompile_headers(${target} PRIVATE <gtest/gtest.h> <gmock/gmock.h>)
  endif()
endfunction()
