# moli_module(NAME <target> DEPS <targets...> [TEST_DEPS <targets...>] [UNDER_LOCALES])
# Builds every .cpp of the calling folder into one static library and every
# .cpp of its tests/ folder into one GoogleTest executable registered with CTest.
# Files are globbed so that adding a unit needs no edit here.
set(MOLI_COMPILE_WARNINGS -Wall -Wextra)
if(MOLI_WERROR)
  list(APPEND MOLI_COMPILE_WARNINGS -Werror)
endif()

# Locales the number tests run under besides the default one, generated into the build folder
# by a CTest fixture (no system-wide locale needed): one with a comma as decimal point, and the
# users' own.
set(MOLI_TEST_LOCALES de_DE.UTF-8 zh_CN.UTF-8)
set(MOLI_LOCALE_DIR ${CMAKE_BINARY_DIR}/locales)
foreach(locale IN LISTS MOLI_TEST_LOCALES)
  string(REGEX REPLACE "\\..*$" "" locale_source ${locale})
  set(locale_path ${MOLI_LOCALE_DIR}/${locale})
  add_test(NAME locale_${locale}
           COMMAND sh -c "test -d '${locale_path}' || { mkdir -p '${MOLI_LOCALE_DIR}' && rm -rf '${locale_path}.new' && localedef -i ${locale_source} -f UTF-8 '${locale_path}.new' && mv '${locale_path}.new' '${locale_path}'; }")
  set_tests_properties(locale_${locale} PROPERTIES FIXTURES_SETUP locale_${locale})
endforeach()

# moli_test_under_locales(<test executable> <working directory> <environment>)
# Registers the executable's tests once more under each of MOLI_TEST_LOCALES.
function(moli_test_under_locales target working_directory environment)
  foreach(locale IN LISTS MOLI_TEST_LOCALES)
    add_test(NAME ${target}_${locale} COMMAND ${target} WORKING_DIRECTORY ${working_directory})
    set_tests_properties(${target}_${locale} PROPERTIES
      ENVIRONMENT "${environment};LOCPATH=${MOLI_LOCALE_DIR};LC_ALL=${locale};MOLI_TEST_LOCALE=${locale}"
      FIXTURES_REQUIRED locale_${locale}
      TIMEOUT 900)
  endforeach()
endfunction()

# One precompiled header for every test executable, built once by a small executable of its
# own (executables and libraries differ in position-independence, which a header must match).
file(WRITE ${CMAKE_BINARY_DIR}/moli_test_pch.cpp "int main() { return 0; }\n")
add_executable(moli_test_pch EXCLUDE_FROM_ALL ${CMAKE_BINARY_DIR}/moli_test_pch.cpp)
set_target_properties(moli_test_pch PROPERTIES AUTOMOC OFF)
target_link_libraries(moli_test_pch PRIVATE Qt6::Widgets GTest::gtest GTest::gmock)
target_compile_options(moli_test_pch PRIVATE ${MOLI_COMPILE_WARNINGS})
target_compile_definitions(moli_test_pch PRIVATE QT_NO_KEYWORDS)
target_precompile_headers(moli_test_pch PRIVATE <QString> <gtest/gtest.h>)

function(moli_module)
  cmake_parse_arguments(M "UNDER_LOCALES" "NAME" "DEPS;TEST_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${M_NAME} STATIC ${sources})
  target_include_directories(${M_NAME} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${M_NAME} PUBLIC ${M_DEPS})
  target_compile_options(${M_NAME} PRIVATE ${MOLI_COMPILE_WARNINGS})
  target_compile_definitions(${M_NAME} PUBLIC QT_NO_KEYWORDS)
  target_precompile_headers(${M_NAME} PRIVATE <QString> <QByteArray> <QList> <functional> <memory> <vector>)

  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.h)
  if(test_sources)
    set(test_target ${M_NAME}_tests)
    add_executable(${test_target} ${test_sources})
    target_link_libraries(${test_target} PRIVATE ${M_NAME} ${M_TEST_DEPS} GTest::gtest GTest::gmock moli_test_main)
    target_compile_options(${test_target} PRIVATE ${MOLI_COMPILE_WARNINGS})
    target_precompile_headers(${test_target} REUSE_FROM moli_test_pch)
    add_test(NAME ${test_target} COMMAND ${test_target}
             WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/tests)
    set(test_environment "QT_QPA_PLATFORM=offscreen;MOLI_SOURCE_DIR=${CMAKE_SOURCE_DIR};MOLI_BINARY_DIR=${CMAKE_BINARY_DIR}")
    set_tests_properties(${test_target} PROPERTIES ENVIRONMENT "${test_environment}" TIMEOUT 900)
    if(M_UNDER_LOCALES)
      moli_test_under_locales(${test_target} ${CMAKE_CURRENT_SOURCE_DIR}/tests "${test_environment}")
    endif()
  endif()
endfunction()
