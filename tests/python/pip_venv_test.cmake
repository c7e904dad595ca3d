# Run by CTest: `pip install` of the package, without network, into a virtual
# environment that sees the system's packages, then the package's tests with
# the installed copy. The package is copied first, since pip builds in place.
include(${CMAKE_CURRENT_LIST_DIR}/run_suite.cmake)

file(REMOVE_RECURSE ${SCRATCH_DIR})
file(COPY ${SOURCE_DIR}/ DESTINATION ${SCRATCH_DIR}/source PATTERN "__pycache__" EXCLUDE)
run_step(${PYTHON} -m venv --system-site-packages ${SCRATCH_DIR}/env)
run_step(${CMAKE_COMMAND} -E env PIP_DISABLE_PIP_VERSION_CHECK=1 PIP_NO_CACHE_DIR=1
  ${SCRATCH_DIR}/env/bin/python -m pip install --no-index --no-build-isolation
  ${SCRATCH_DIR}/source)
execute_process(COMMAND ${SCRATCH_DIR}/env/bin/python -c
    "import sysconfig; print(sysconfig.get_path('purelib'))"
  OUTPUT_VARIABLE site OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REGEX MATCH "^TAVREL_LIBRARY=([^;]*)" library "${RUN_ENV}")
get_filename_component(library_dir "${CMAKE_MATCH_1}" DIRECTORY)
run_suite(${SCRATCH_DIR}/env/bin/python ${site} ${library_dir} ${RUN_ENV})
