# Helpers that keep the per-folder wiring in one place: sources, tests and fuzz targets are
# found by their folder, so adding a file needs no change here.

# orvanel_library(name folder LINKS deps... EXCLUDE subfolders...): a static library of every .cpp
# in the folder and its sub-folders (app/main.cpp excepted, it is the program; the sub-folders named
# after EXCLUDE are libraries of their own); a header-only folder gives an interface library.
function(orvanel_library name folder)
  cmake_parse_arguments(ARG "" "" "LINKS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/app/main\\.cpp$")
  foreach(sub ${ARG_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "^${CMAKE_SOURCE_DIR}/${folder}/${sub}/")
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_LINKS})
  endif()
endfunction()

# orvanel_tests(name LINKS extra...): tests/<name>/**/*.cpp into one GoogleTest program.
function(orvanel_tests name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${name}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name}_tests ${sources})
  target_link_libraries(${name}_tests PRIVATE ${name} ${ARG_LINKS} GTest::gtest_main GTest::gmock)
  target_include_directories(${name}_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name}_tests PRIVATE
    ORVANEL_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
    ORVANEL_TEST_OUTPUT="${CMAKE_BINARY_DIR}/test-output")
  gtest_discover_tests(${name}_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
  set_property(GLOBAL APPEND PROPERTY ORVANEL_DISCOVERED_TEST_LISTS ${name}_tests_TESTS)
endfunction()

# The environment every test runs in: Qt without a display, and a home folder with XDG folders
# of its own in the build tree, so that nothing a test writes through Qt or a library (a file
# dialog's history, caches, settings) lands in the home of whoever runs the tests.
function(orvanel_test_environment out)
  set(home ${CMAKE_BINARY_DIR}/test-home)
  foreach(folder .config .local/share .local/state .cache runtime)
    file(MAKE_DIRECTORY ${home}/${folder})
  endforeach()
  # Qt refuses a runtime folder that others may enter.
  file(CHMOD ${home}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  set(${out} "QT_QPA_PLATFORM=offscreen" "HOME=${home}" "XDG_CONFIG_HOME=${home}/.config"
      "XDG_DATA_HOME=${home}/.local/share" "XDG_STATE_HOME=${home}/.local/state"
      "XDG_CACHE_HOME=${home}/.cache" "XDG_RUNTIME_DIR=${home}/runtime" PARENT_SCOPE)
endfunction()

# Gives every test of the folder the test environment: those added here directly, and those the
# test programs list when CTest runs (through a file CTest reads after their lists).
function(orvanel_apply_test_environment)
  orvanel_test_environment(environment)
  get_property(tests DIRECTORY PROPERTY TESTS)
  if(tests)
    set_tests_properties(${tests} PROPERTIES ENVIRONMENT "${environment}")
  endif()
  get_property(lists GLOBAL PROPERTY ORVANEL_DISCOVERED_TEST_LISTS)
  set(script "")
  foreach(list ${lists})
    string(APPEND script "if(${list})\n  set_tests_properties(\${${list}} PROPERTIES ENVIRONMENT [==[${environment}]==])\nendif()\n")
  endforeach()
  set(file ${CMAKE_BINARY_DIR}/TestEnvironment.cmake)
  file(WRITE ${file} "${script}")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${file})
endfunction()

# Fuzz targets are fuzz/<library>_<what>.cpp, each defining LLVMFuzzerTestOneInput, with a seed
# corpus in fuzz/corpus/<library>_<what>/. The library is the part of the name before the first '_'.
function(orvanel_fuzz_sources out)
  file(GLOB targets CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_*.cpp)
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# In the test build every corpus is replayed through its target as a test.
function(orvanel_fuzz_replays)
  orvanel_fuzz_sources(targets)
  foreach(source ${targets})
    get_filename_component(stem ${source} NAME_WE)
    string(REGEX REPLACE "_.*" "" library ${stem})
    add_executable(replay_${stem} ${source} ${CMAKE_SOURCE_DIR}/fuzz/replay/ReplayMain.cpp)
    target_link_libraries(replay_${stem} PRIVATE ${library})
    add_test(NAME fuzz_corpus.${stem}
             COMMAND replay_${stem} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${stem})
  endforeach()
endfunction()

# With clang and -DORVANEL_FUZZ=ON each target becomes a libFuzzer program fuzz_<stem>.
function(orvanel_fuzz_targets)
  orvanel_fuzz_sources(targets)
  foreach(source ${targets})
    get_filename_component(stem ${source} NAME_WE)
    string(REGEX REPLACE "_.*" "" library ${stem})
    add_executable(fuzz_${stem} ${source})
    target_link_libraries(fuzz_${stem} PRIVATE ${library})
    target_compile_options(fuzz_${stem} PRIVATE -fsanitize=fuzzer)
    target_link_options(fuzz_${stem} PRIVATE -fsanitize=fuzzer)
  endforeach()
endfunction()
