# Run by CTest (see CMakeLists.txt): installs the build into a scratch prefix,
# configures and builds the consumer against it with find_package(tavrel), runs
# it and compares what it prints with what the installed library must answer.

function(run_step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "step failed (${status}): ${command}\n${output}")
  endif()
endfunction()

file(REMOVE_RECURSE ${SCRATCH_DIR})
set(prefix ${SCRATCH_DIR}/prefix)
run_step(${CMAKE_COMMAND} --install ${TAVREL_BUILD_DIR} --prefix ${prefix})
run_step(${CMAKE_COMMAND} -S ${CONSUMER_SOURCE_DIR} -B ${SCRATCH_DIR}/build -G ${GENERATOR}
  -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_C_COMPILER=${C_COMPILER}
  "-DCMAKE_C_FLAGS=${C_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}")
run_step(${CMAKE_COMMAND} --build ${SCRATCH_DIR}/build)

execute_process(COMMAND ${SCRATCH_DIR}/build/consumer RESULT_VARIABLE status
  OUTPUT_VARIABLE output ERROR_VARIABLE errors)
# Bank 12030000 uses method 00: 9290701 is valid, 9290702 has a wrong check digit.
set(expected "tavrel ${EXPECTED_VERSION}
12030000 9290701: 0 valid
12030000 9290702: -3 invalid_check_digit
")
if(NOT status EQUAL 0 OR NOT output STREQUAL expected)
  message(FATAL_ERROR "the consumer (exit status ${status}) printed\n${output}${errors}"
    "instead of\n${expected}")
endif()
