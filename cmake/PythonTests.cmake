# Python test modules (unittest, test_*.py in one folder) enter CTest here. The
# cases are listed when CMake configures (tests/support/list_tests.py), and a
# module added or changed configures again. Each case gets an entry
# PREFIX/Class.test; with PER_CLASS_WITH_SETUP, a class with its own setUpClass
# (one X server for all its cases) gets one entry PREFIX/Class instead.
#
#   zentara_python_tests(PREFIX name [PER_CLASS_WITH_SETUP] [LABELS ...] [TIMEOUT s]
#                        [FIXTURES_REQUIRED ...] [RESOURCE_LOCK ...] [ENVIRONMENT ...])
#
# Every Python test, listed or run, finds the shared test library (tests/support) through
# ZENTARA_PYTHON_ENVIRONMENT; a test added with add_test instead takes it into its ENVIRONMENT. A
# folder's ENVIRONMENT holds for its listing too (a tier that reuses another's test classes names
# that folder in its PYTHONPATH).
set(ZENTARA_PYTHON_ENVIRONMENT PYTHONDONTWRITEBYTECODE=1 PYTHONPATH=${PROJECT_SOURCE_DIR}/tests/support)

function(zentara_python_tests)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  cmake_parse_arguments(PARSE_ARGV 0 arg "PER_CLASS_WITH_SETUP" "PREFIX;TIMEOUT"
                        "LABELS;FIXTURES_REQUIRED;RESOURCE_LOCK;ENVIRONMENT")
  set(_folder ${CMAKE_CURRENT_SOURCE_DIR})
  file(GLOB _modules CONFIGURE_DEPENDS ${_folder}/*.py)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_modules})
  set(_option "")
  if(arg_PER_CLASS_WITH_SETUP)
    set(_option --per-class-with-setup)
  endif()
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ${ZENTARA_PYTHON_ENVIRONMENT} ${arg_ENVIRONMENT} ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/support/list_tests.py ${_option}
    WORKING_DIRECTORY ${_folder}
    OUTPUT_VARIABLE _ids ERROR_VARIABLE _errors RESULT_VARIABLE _result
    OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT _result EQUAL 0 OR _ids STREQUAL "")
    message(FATAL_ERROR "could not list the Python tests in ${_folder}:\n${_errors}")
  endif()
  string(REPLACE "\n" ";" _ids "${_ids}")
  foreach(_id IN LISTS _ids)
    # test_panel.RecordedPanelTest.test_a_click... is PREFIX/RecordedPanelTest.test_a_click...
    string(REGEX MATCH "^[^.]+\\.(.*)$" _ ${_id})
    set(_name ${arg_PREFIX}/${CMAKE_MATCH_1})
    add_test(NAME ${_name} COMMAND ${Python3_EXECUTABLE} -m unittest -v ${_id} WORKING_DIRECTORY ${_folder})
    set_tests_properties(${_name} PROPERTIES ENVIRONMENT "${ZENTARA_PYTHON_ENVIRONMENT};${arg_ENVIRONMENT}")
    if(_id MATCHES "\\.test_[^.]*$")
      # A case the platform cannot run says why and counts as skipped.
      set_tests_properties(${_name} PROPERTIES SKIP_REGULAR_EXPRESSION "\nOK \\(skipped=1\\)")
    endif()
    foreach(_property LABELS TIMEOUT FIXTURES_REQUIRED RESOURCE_LOCK)
      if(DEFINED arg_${_property})
        set_tests_properties(${_name} PROPERTIES ${_property} "${arg_${_property}}")
      endif()
    endforeach()
  endforeach()
endfunction()
