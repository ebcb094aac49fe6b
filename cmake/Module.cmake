# moli_module(NAME <target> DEPS <targets...> [TEST_DEPS <targets...>])
# Builds every .cpp of the calling folder into one static library and every
# .cpp of its tests/ folder into one GoogleTest executable registered with CTest.
# Files are globbed so that adding a unit needs no edit here.
set(MOLI_COMPILE_WARNINGS -Wall -Wextra)
if(MOLI_WERROR)
  list(APPEND MOLI_COMPILE_WARNINGS -Werror)
endif()

function(moli_module)
  cmake_parse_arguments(M "" "NAME" "DEPS;TEST_DEPS" ${ARGN})
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
    target_precompile_headers(${test_target} PRIVATE <QString> <gtest/gtest.h>)
    add_test(NAME ${test_target} COMMAND ${test_target}
             WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/tests)
    set_tests_properties(${test_target} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;MOLI_SOURCE_DIR=${CMAKE_SOURCE_DIR};MOLI_BINARY_DIR=${CMAKE_BINARY_DIR}"
      TIMEOUT 900)
  endif()
endfunction()
