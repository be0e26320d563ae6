# Shared build settings and the helpers every layer uses.

add_library(lectoro_warnings INTERFACE)
target_compile_options(lectoro_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Wimplicit-fallthrough -Wformat=2 -Wmissing-declarations)

if(LECTORO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Where the library's bundle (resources/) and the sample books live, for tests and the host.
set(LECTORO_RESOURCES_DIR ${PROJECT_SOURCE_DIR}/resources)
set(LECTORO_SAMPLES_DIR ${PROJECT_SOURCE_DIR}/samples)
# The library's bundle as built: resources/ plus files copied in at build time (fonts).
set(LECTORO_BUNDLE_DIR ${PROJECT_BINARY_DIR}/LectoroSDKWithReader.bundle)

# lectoro_add_layer(<target> <dir> [DEPS ...] [PRIVATE_DEPS ...])
# A layer is every .cpp below <dir>. Headers are included from the project root:
#   #include "platform/base/Value.h"
function(lectoro_add_layer target dir)
  cmake_parse_arguments(A "" "" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
  if(srcs)
    add_library(${target} STATIC ${srcs})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${A_DEPS} PRIVATE ${A_PRIVATE_DEPS} lectoro_warnings)
    target_compile_definitions(${target} PRIVATE
      LECTORO_RESOURCES_DIR="${LECTORO_RESOURCES_DIR}"
      LECTORO_BUNDLE_DIR="${LECTORO_BUNDLE_DIR}")
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${A_DEPS})
  endif()
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
endfunction()
