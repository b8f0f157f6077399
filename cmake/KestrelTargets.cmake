# kestrel_library(NAME <target> [DEPS <targets...>])
# Builds every .cpp of the calling folder (not its subfolders) into a static
# library, and every .cpp of its tests/ folder into one test executable.
function(kestrel_library)
  cmake_parse_arguments(KL "" "NAME" "DEPS;TEST_DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${KL_NAME} STATIC ${srcs})
  target_include_directories(${KL_NAME} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${KL_NAME} PUBLIC ${KL_DEPS})
  file(GLOB test_srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  if(test_srcs)
    set(test_target ${KL_NAME}_tests)
    add_executable(${test_target} ${test_srcs})
    set_target_properties(${test_target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${test_target} PRIVATE ${KL_NAME} ${KL_TEST_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(${test_target} PRIVATE
      KESTREL_SHARED_DIR="${PROJECT_SOURCE_DIR}/../shared"
      KESTREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      KESTREL_PROGRAM_DIR="${KESTREL_PROGRAM_DIR}")
    gtest_discover_tests(${test_target} DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()
