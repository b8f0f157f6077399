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

# kestrel_fuzzers(<library>): with KESTREL_FUZZ, one libFuzzer executable per
# fuzz/*_fuzz.cpp of the calling folder. Their corpora under fuzz/corpus/ are
# replayed by the ordinary tests, so the harnesses only add new inputs.
function(kestrel_fuzzers lib)
  if(NOT KESTREL_FUZZ)
    return()
  endif()
  # The library is instrumented too, so that the fuzzers see its branches.
  target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  file(GLOB fuzz_srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/*_fuzz.cpp)
  foreach(src ${fuzz_srcs})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE ${lib})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  endforeach()
endfunction()
