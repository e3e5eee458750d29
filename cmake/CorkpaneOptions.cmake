# corkpane_options: the INTERFACE target every Corkpane target links PRIVATE.
# It carries the language standard, the warnings and the sanitizer flags.
add_library(corkpane_options INTERFACE)
add_library(corkpane::options ALIAS corkpane_options)
target_compile_features(corkpane_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(corkpane_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
  -Woverloaded-virtual -Wimplicit-fallthrough -Wformat=2)
# GCC 12 reports -Wrestrict false positives inside std::string at -O3
# (GCC bug 105329); the warning says nothing about our code there.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(corkpane_options INTERFACE -Wno-restrict)
endif()
if(CORKPANE_WERROR)
  target_compile_options(corkpane_options INTERFACE -Werror)
endif()
if(CORKPANE_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(corkpane_options INTERFACE ${_san})
  target_link_options(corkpane_options INTERFACE ${_san})
endif()

# Fuzzing with libFuzzer (clang): the libraries need coverage instrumentation
# too, or the fuzzer only sees its own entry point.
if(CORKPANE_LIBFUZZER)
  target_compile_options(corkpane_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

# corkpane_add_module(NAME SOURCES...): a static library corkpane_NAME with
# the alias corkpane::NAME and its public headers under the project root
# (so includes read "NAME/header.h").
function(corkpane_add_module name)
  add_library(corkpane_${name} STATIC ${ARGN})
  add_library(corkpane::${name} ALIAS corkpane_${name})
  target_include_directories(corkpane_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(corkpane_${name} PRIVATE corkpane::options)
endfunction()

# corkpane_add_test(NAME [PREFIX text] SOURCES... LIBS libs...): one GoogleTest
# executable registered with CTest; PREFIX goes before each test's name (so
# that "ctest -R <module>" selects a module whose suites do not name it).
function(corkpane_add_test name)
  cmake_parse_arguments(T "" "PREFIX" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE corkpane::options GTest::gtest GTest::gtest_main ${T_LIBS})
  if(TARGET corkpane_test_support)
    target_link_libraries(${name} PRIVATE corkpane::test_support)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_PREFIX "${T_PREFIX}"
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;CORKPANE_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
