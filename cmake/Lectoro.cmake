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
endif()
if(LECTORO_SANITIZE_THREAD)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# The test builds (dev, tsan) link the project's libraries as shared libraries: each library is
# linked once, and a test program or the host holds only its own code, where a static link wrote
# the whole product with its debug information and sanitizer metadata into every program (about
# 250 MB each, a 5.6 GB build folder and most of a build's link time). The release build, whose
# host and benchmarks are what runs outside, stays static; so does the fuzz build.
option(LECTORO_SHARED_LIBS "Build the project's libraries as shared libraries" OFF)
# Clang leaves a sanitized shared library's runtime calls to the program that loads it. Under the
# address sanitizer every library and program links the sanitizer's shared runtime instead (found
# beside the compiler through the run path), so our libraries keep --no-undefined. The thread
# sanitizer's shared runtime cannot start a program, so there the libraries leave those calls open.
set(LECTORO_LIBS_ALLOW_UNDEFINED OFF)
if(LECTORO_SHARED_LIBS AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  if(LECTORO_SANITIZE)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-resource-dir
      OUTPUT_VARIABLE LECTORO_CLANG_RESOURCE_DIR OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    add_link_options(-shared-libsan LINKER:-rpath,${LECTORO_CLANG_RESOURCE_DIR}/lib/linux)
  elseif(LECTORO_SANITIZE_THREAD)
    set(LECTORO_LIBS_ALLOW_UNDEFINED ON)
  endif()
endif()
if(LECTORO_SHARED_LIBS)
  # A shared library's sanitizer metadata (every check's source location, every global's
  # descriptor) is millions of pointers relocated each time a program starts; packed relative
  # relocations keep their table small (44 MB to 0.8 MB for the product), which cut the start
  # of an empty test program by about 40%.
  include(CheckLinkerFlag)
  check_linker_flag(CXX "LINKER:-z,pack-relative-relocs" LECTORO_LINKER_PACKS_RELOCATIONS)
  if(LECTORO_LINKER_PACKS_RELOCATIONS)
    add_link_options(LINKER:-z,pack-relative-relocs)
  endif()
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
  _lectoro_library(${target} "${srcs}" "${A_PARTS};${A_DEPS}" "${A_PRIVATE_DEPS}")
endfunction()

# lectoro_add_layer(<target> <dir> [STATIC] [PARTS ...] [EXCLUDE <folders under dir>...] [DEPS ...] [PRIVATE_DEPS ...])
# A layer is every .cpp below <dir> except those of its parts and of the EXCLUDE folders.
# Headers are included from the project root: #include "platform/base/Value.h"
# STATIC keeps the layer a static library in a shared build. Test support needs it: GoogleTest
# comes only as a static library, and a shared library linking it would hold a second copy of
# its globals beside the test program's, each destroyed at exit (a double free).
function(lectoro_add_layer target dir)
  cmake_parse_arguments(A "STATIC" "" "PARTS;EXCLUDE;DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
  foreach(folder ${A_EXCLUDE})
    list(FILTER srcs EXCLUDE REGEX "^${PROJECT_SOURCE_DIR}/${dir}/${folder}/")
  endforeach()
  foreach(part ${A_PARTS})
    get_target_property(part_srcs ${part} SOURCES)
    list(REMOVE_ITEM srcs ${part_srcs})
  endforeach()
  if(srcs)
    _lectoro_library(${target} "${srcs}" "${A_PARTS};${A_DEPS}" "${A_PRIVATE_DEPS}" ${A_STATIC})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${A_PARTS} ${A_DEPS})
  endif()
endfunction()

function(_lectoro_library target srcs deps private_deps)
  set(static_only ${ARGN})
  if(LECTORO_SHARED_LIBS AND NOT static_only)
    add_library(${target} SHARED ${srcs})
    # Each library links on its own, so a part that calls into the rest of its layer, or a layer
    # into one it does not name, fails at its own link as in the static fuzz build.
    if(NOT LECTORO_LIBS_ALLOW_UNDEFINED)
      target_link_options(${target} PRIVATE LINKER:--no-undefined)
    endif()
  else()
    add_library(${target} STATIC ${srcs})
  endif()
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${deps} PRIVATE ${private_deps} lectoro_warnings)
  target_compile_definitions(${target} PRIVATE
    LECTORO_RESOURCES_DIR="${LECTORO_RESOURCES_DIR}"
    LECTORO_BUNDLE_DIR="${LECTORO_BUNDLE_DIR}")
endfunction()

set(LECTORO_TESTS_PER_SHARD 40 CACHE STRING "Tests a CTest entry runs in one process of a test program")
set(LECTORO_TEST_SHARD_TIMEOUT 600 CACHE STRING "Seconds a CTest entry of a test program may take")
# The thread sanitizer (clang 14's, GCC 12's) cannot start where the kernel randomises more than 28 bits of the address
# space; a program run without address randomisation starts everywhere.
set(LECTORO_TEST_LAUNCHER "")
if(LECTORO_SANITIZE_THREAD)
  find_program(LECTORO_SETARCH setarch)
  if(LECTORO_SETARCH)
    set(LECTORO_TEST_LAUNCHER ${LECTORO_SETARCH} -R)
  endif()
endif()

# What every test program parses first; each precompiled header set of the tests begins with it.
set(LECTORO_TEST_FRAMEWORK_HEADERS <gtest/gtest.h> <gmock/gmock.h>)

function(_lectoro_test_settings target)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${target} PRIVATE
    LECTORO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    LECTORO_RESOURCES_DIR="${LECTORO_RESOURCES_DIR}"
    LECTORO_BUNDLE_DIR="${LECTORO_BUNDLE_DIR}"
    LECTORO_SAMPLES_DIR="${LECTORO_SAMPLES_DIR}"
    LECTORO_TESTS_DIR="${PROJECT_SOURCE_DIR}/tests")
endfunction()

# lectoro_add_test_headers(<name> [LIBS ...] HEADERS ...)
# GoogleTest, GoogleMock and the HEADERS that test programs share, precompiled once (with their templates instantiated) and
# reused by every program that names <name> in lectoro_add_tests(HEADERS). Parsing GoogleTest,
# GoogleMock and the assembled reader's headers was a third of a test batch's compile, paid
# again by each batch of each program. The headers are only parsed: a program that reuses them
# links only what it names, so the set may hold more than each program needs. LIBS gives the
# set the include paths and definitions its headers need; every program reusing it must be
# compiled with the same definitions (clang refuses a precompiled header that differs).
function(lectoro_add_test_headers name)
  cmake_parse_arguments(A "" "" "LIBS;HEADERS" ${ARGN})
  set(source ${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp)
  file(CONFIGURE OUTPUT ${source} CONTENT "// The precompiled header's own compile (cmake/Lectoro.cmake).\n")
  add_library(${name} OBJECT ${source})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock lectoro_warnings)
  _lectoro_test_settings(${name})
  set_target_properties(${name} PROPERTIES UNITY_BUILD OFF)
  target_precompile_headers(${name} PRIVATE ${LECTORO_TEST_FRAMEWORK_HEADERS} ${A_HEADERS})
endfunction()

# lectoro_add_tests(<name> <dir under tests/> [LIBS ...] [HEADERS <test headers>])
# One test executable per layer or subsystem: every .cpp below tests/<dir>. CTest runs it in
# shards of about LECTORO_TESTS_PER_SHARD tests (see _lectoro_add_test_shards). HEADERS names
# a set made by lectoro_add_test_headers that the program reuses.
function(lectoro_add_tests name dir)
  cmake_parse_arguments(A "" "HEADERS" "LIBS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name}_tests ${srcs})
  target_link_libraries(${name}_tests PRIVATE ${A_LIBS} GTest::gtest GTest::gmock GTest::gtest_main lectoro_warnings)
  _lectoro_test_settings(${name}_tests)
  _lectoro_add_test_shards(${name}_tests)
  if(A_HEADERS)
    target_precompile_headers(${name}_tests REUSE_FROM ${A_HEADERS})
  else()
    # Decided once the folder has set the program's properties (UNITY_BUILD OFF comes after this).
    cmake_language(EVAL CODE
      "cmake_language(DEFER DIRECTORY [[${CMAKE_CURRENT_SOURCE_DIR}]] CALL _lectoro_precompile_test_headers ${name}_tests)")
  endif()
endfunction()

# A test program of its own headers compiled file by file parses GoogleTest and GoogleMock once
# per file, about 40% of each file's compile; it parses them once instead.
function(_lectoro_precompile_test_headers target)
  get_target_property(unity ${target} UNITY_BUILD)
  if(NOT unity)
    target_precompile_headers(${target} PRIVATE ${LECTORO_TEST_FRAMEWORK_HEADERS})
  endif()
endfunction()

# A process per test cost far more than the tests: a sanitized program takes about a second to
# start, and a median test a tenth of that. CTest runs each test program instead in a few
# processes, GoogleTest's shards (GTEST_TOTAL_SHARDS, GTEST_SHARD_INDEX: every shard runs the
# tests whose index modulo the shard count is its own), about LECTORO_TESTS_PER_SHARD tests
# each, so that `ctest -j` still spreads a large program over the processors. A shard's output
# is GoogleTest's, naming each test that failed; a failing test fails its shard. The shards are
# written when the program is linked, from its --gtest_list_tests, so a new test or program
# needs nothing here; a program not built yet is one failing <program>_NOT_BUILT test.
function(_lectoro_add_test_shards target)
  set(shards_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_shards.cmake)
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_include.cmake)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND}
      -DPROGRAM=$<TARGET_FILE:${target}>
      -DNAME=${target}
      -DOUTPUT=${shards_file}
      -DTESTS_PER_SHARD=${LECTORO_TESTS_PER_SHARD}
      -DTIMEOUT=${LECTORO_TEST_SHARD_TIMEOUT}
      -DWORKING_DIRECTORY=${CMAKE_CURRENT_BINARY_DIR}
      "-DLAUNCHER=${LECTORO_TEST_LAUNCHER}"
      -P ${PROJECT_SOURCE_DIR}/cmake/LectoroTestShards.cmake
    BYPRODUCTS ${shards_file}
    VERBATIM)
  file(WRITE ${include_file}
    "if(EXISTS [==[${shards_file}]==])\n"
    "  include([==[${shards_file}]==])\n"
    "else()\n"
    "  add_test(${target}_NOT_BUILT ${target}_NOT_BUILT)\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()

# lectoro_add_sanitizer_defaults(): called once every target exists. Each program of a
# sanitized build carries the settings its sanitizer needs for our tests, so that a test
# program run by hand, the host a test starts and CTest run anywhere (with or without the
# presets) behave alike: the leak checker's suppressions (tests/lsan.supp) and, under the
# thread sanitizer, stopping at the first report.
function(lectoro_add_sanitizer_defaults)
  set(defaults "")
  if(LECTORO_SANITIZE)
    set(supp_file ${PROJECT_SOURCE_DIR}/tests/lsan.supp)
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${supp_file})
    file(STRINGS ${supp_file} lines REGEX "^[^#]")
    list(JOIN lines "\\n" suppressions)
    string(APPEND defaults
      "const char* __lsan_default_suppressions();\n"
      "const char* __lsan_default_suppressions() { return \"${suppressions}\\n\"; }\n")
  endif()
  if(LECTORO_SANITIZE_THREAD)
    string(APPEND defaults
      "const char* __tsan_default_options();\n"
      "const char* __tsan_default_options() { return \"halt_on_error=1:second_deadlock_stack=1\"; }\n")
  endif()
  if(NOT defaults)
    return()
  endif()
  set(source ${PROJECT_BINARY_DIR}/SanitizerDefaults.cpp)
  file(CONFIGURE OUTPUT ${source} CONTENT
    "// Written by cmake/Lectoro.cmake: what each program tells its sanitizer.\nextern \"C\" {\n${defaults}}\n"
    @ONLY)
  add_library(lectoro_sanitizer_defaults OBJECT ${source})
  set_target_properties(lectoro_sanitizer_defaults PROPERTIES UNITY_BUILD OFF)
  _lectoro_link_programs(${PROJECT_SOURCE_DIR} lectoro_sanitizer_defaults)
endfunction()

function(_lectoro_link_programs dir library)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      target_link_libraries(${target} PRIVATE ${library})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir ${subdirs})
    _lectoro_link_programs(${subdir} ${library})
  endforeach()
endfunction()
