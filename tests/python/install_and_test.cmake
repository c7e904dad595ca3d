# Run by CTest: installs the build into a scratch prefix and runs the package's
# tests against it, the library found beside the installed package.
include(${CMAKE_CURRENT_LIST_DIR}/run_suite.cmake)

file(REMOVE_RECURSE ${PREFIX})
run_step(${CMAKE_COMMAND} --install ${TAVREL_BUILD_DIR} --prefix ${PREFIX})
run_suite(${PYTHON} ${PACKAGE_DIR} ${PREFIX} ${RUN_ENV})
