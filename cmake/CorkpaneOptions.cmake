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

# corkpane_add_test(NAME [QT_MAIN] [PREFIX text] SOURCES... LIBS libs...): one
# GoogleTest executable registered with CTest. QT_MAIN: the tests draw through
# Qt, and their main creates the QGuiApplication first. PREFIX goes before
# each test's name (so that "ctest -R <module>" selects a module whose suites
# do not name it).
function(corkpane_add_test name)
  cmake_parse_arguments(T "QT_MAIN" "PREFIX" "SOURCES;LIBS" ${ARGN})
  if(T_QT_MAIN)
    find_package(Qt6 REQUIRED COMPONENTS Gui)
    add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/common/QtTestMain.cpp)
    target_link_libraries(${name} PRIVATE corkpane::options GTest::gtest Qt6::Gui ${T_LIBS})
  else()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE corkpane::options GTest::gtest GTest::gtest_main ${T_LIBS})
  endif()
  if(TARGET corkpane_test_support)
    target_link_libraries(${name} PRIVATE corkpane::test_support)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_PREFIX "${T_PREFIX}"
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;CORKPANE_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()

# corkpane_texts(TARGET NAMESPACE): the fixed texts of the folder, its
# catalog texts.txt, as the header <folder>/Texts.h in namespace NAMESPACE,
# made when the project is configured (and again when the catalog changes).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
function(corkpane_texts target namespace)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(catalog ${CMAKE_CURRENT_SOURCE_DIR}/texts.txt)
  set(header ${CMAKE_BINARY_DIR}/generated/${folder}/Texts.h)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/generated/${folder})
  execute_process(
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/texts.py ${catalog} ${namespace} ${header}
      ${PROJECT_VERSION}
    RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot make ${header} from ${catalog}")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${catalog} ${PROJECT_SOURCE_DIR}/cmake/texts.py)
  target_include_directories(${target} PUBLIC ${CMAKE_BINARY_DIR}/generated)
endfunction()
