# One interface target carries the language level, the warnings and the
# sanitizers; every target of the project links it.
add_library(tc101_options INTERFACE)
add_library(tc101::options ALIAS tc101_options)

target_compile_features(tc101_options INTERFACE cxx_std_20)
target_compile_options(tc101_options INTERFACE
  -Wall -Wextra -Wpedantic
  -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Woverloaded-virtual -Wnull-dereference -Wformat=2 -Wimplicit-fallthrough
  -Wmisleading-indentation)

# make test builds with this on, so a warning anywhere fails the suite.
option(TC101_WERROR "Treat compiler warnings as errors" OFF)
if(TC101_WERROR)
  target_compile_options(tc101_options INTERFACE -Werror)
endif()

# Qt strictness: every string literal states its encoding.
target_compile_definitions(tc101_options INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_URL_CAST_FROM_STRING
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_FOREACH
  QT_NO_KEYWORDS)

if(TC101_SANITIZE STREQUAL "address")
  set(_tc101_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
elseif(TC101_SANITIZE STREQUAL "thread")
  set(_tc101_san -fsanitize=thread -fno-omit-frame-pointer)
elseif(NOT TC101_SANITIZE STREQUAL "")
  message(FATAL_ERROR "TC101_SANITIZE must be address, thread or empty, not '${TC101_SANITIZE}'")
endif()
if(_tc101_san)
  target_compile_options(tc101_options INTERFACE ${_tc101_san})
  target_link_options(tc101_options INTERFACE ${_tc101_san})
endif()

# A fuzz build instruments every library for coverage; the fuzz targets add
# libFuzzer's main at link time.
if(TC101_FUZZ)
  target_compile_options(tc101_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
