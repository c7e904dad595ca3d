# Helpers of install_and_test.cmake and pip_venv_test.cmake.

function(run_step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "step failed (${status}): ${command}\n${output}")
  endif()
endfunction()

# run_suite(PYTHON PACKAGE_DIR LIBRARY_DIR ENV...): the package's tests in a
# fresh, isolated interpreter whose path holds PACKAGE_DIR and the interpreter's
# own site-packages only, after making sure that the package comes from
# PACKAGE_DIR and the C library from LIBRARY_DIR.
function(run_suite python package_dir library_dir)
  set(code "import os, sys, unittest
sys.path.insert(0, '${package_dir}')
import tavrel, tavrel._native
inside = lambda path, folder: os.path.realpath(path).startswith(os.path.realpath(folder) + os.sep)
assert inside(tavrel.__file__, '${package_dir}'), tavrel.__file__
assert inside(tavrel._native.lib._name, '${library_dir}'), tavrel._native.lib._name
unittest.main(module=None, argv=['tavrel', 'discover', '-s', '${TESTS_DIR}', '-p', 'test_*.py'])")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=PYTHONPATH --unset=TAVREL_LIBRARY
      --unset=PYTHONPYCACHEPREFIX ${ARGN} ${python} -I -B -c "${code}"
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  message("${output}")
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the tests of the package in ${package_dir} failed (${status})")
  endif()
endfunction()
