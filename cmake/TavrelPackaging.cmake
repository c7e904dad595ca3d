# Debian packages built by CPack, one for each install component:
#
#   tavrel          cli   the command line, its man page and completions
#   libtavrel1      lib   libtavrel.so.1
#   libtavrel-dev   dev   tavrel.h, the CMake package, the pkg-config file
#   tavrel-gui      gui   the host application, its man page, menu entry and icon
#   python3-tavrel  python  the Python package (the package preset puts it in
#                   lib/python3/dist-packages, where Debian's python3 looks)
#
# `cpack -G DEB` in a build folder (the package preset's) writes them there. Library dependencies come
# from dpkg-shlibdeps; those between the packages pin the same version. A new
# face that installs its files under a component of its own becomes a package
# with one more tavrel_deb_package().
set(TAVREL_DEB_MAINTAINER "tavrel developers <tavrel@example.org>"
  CACHE STRING "The Maintainer field of the Debian packages")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrel)
set(CPACK_PACKAGE_VENDOR "the tavrel developers")
# CPackDeb writes a summary other than its default before every package's own
# description, whose first line is that package's summary.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_NAME} built using CMake")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TAVREL_DEB_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A shlibs file for each package with a shared library: libtavrel1 alone.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(tavrel_deb_description_tail
  "tavrel verifies German bank account numbers: given a bank code (Bankleitzahl)
and an account number it finds the check-digit method the Deutsche Bundesbank
assigns to the bank, runs it, and says whether the account is valid or which
input fault stopped the check.")

# tavrel_deb_package(COMPONENT NAME SECTION SUMMARY [DEPENDS component...] [EXTRA text])
# One package: its name, section and description (the summary line first, as
# Debian wants it), the components it depends on, and the licence as
# /usr/share/doc/NAME/copyright.
macro(tavrel_deb_package component)
  cmake_parse_arguments(DEB "" "NAME;SECTION;SUMMARY;EXTRA" "DEPENDS" ${ARGN})
  string(TOUPPER ${component} DEB_COMPONENT)
  set(CPACK_DEBIAN_${DEB_COMPONENT}_PACKAGE_NAME ${DEB_NAME})
  set(CPACK_DEBIAN_${DEB_COMPONENT}_PACKAGE_SECTION ${DEB_SECTION})
  set(CPACK_COMPONENT_${DEB_COMPONENT}_DESCRIPTION
    "${DEB_SUMMARY}\n${tavrel_deb_description_tail}\n.\n${DEB_EXTRA}")
  set(CPACK_COMPONENT_${DEB_COMPONENT}_DEPENDS ${DEB_DEPENDS})
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE RENAME copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${DEB_NAME} COMPONENT ${component})
  list(APPEND CPACK_COMPONENTS_ALL ${component})
endmacro()

tavrel_deb_package(cli NAME tavrel SECTION utils
  SUMMARY "check German bank account numbers from the command line"
  EXTRA "This package holds the command line tavrel: single checks, batch checks of
tab-separated or CSV input on several threads, bank names and the bank search
(typo-tolerant too), the rule generations, and tavrel serve, a JSON API over
HTTP with a page that checks as you type. With its man page and completions
for bash and zsh.")
tavrel_deb_package(lib NAME libtavrel1 SECTION libs
  SUMMARY "German bank account check - shared library"
  EXTRA "This package holds libtavrel.so.1: the check, its messages, bank names, the
bank search and automation-style objects through a plain C API, UTF-8
throughout.")
tavrel_deb_package(dev NAME libtavrel-dev SECTION libdevel DEPENDS lib
  SUMMARY "German bank account check - development files"
  EXTRA "This package holds the header tavrel.h, the CMake package (find_package(tavrel),
target tavrel::tavrel) and the pkg-config file of libtavrel.")
if(TAVREL_BUILD_CONTROL)
  tavrel_deb_package(gui NAME tavrel-gui SECTION utils
    SUMMARY "check German bank account numbers as you type"
    EXTRA "This package holds tavrel-gui, a small window with the account-check control:
the verdict and the bank's name follow every keystroke, and a bank code that
begins with a letter searches the banks by name. With its man page, menu entry
and icon.")
endif()

tavrel_deb_package(python NAME python3-tavrel SECTION python DEPENDS lib
  SUMMARY "German bank account check - Python package"
  EXTRA "This package holds the Python package tavrel over libtavrel: tavrel.account
and tavrel.bank with validate, is_valid and check, tavrel.check_many over
sequences, NumPy arrays and pandas Series, tavrel.pandas and tavrel.dask.")
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "python3 (>= 3.9), python3-numpy")
set(CPACK_DEBIAN_PYTHON_PACKAGE_SUGGESTS "python3-pandas, python3-dask, python3-distributed")

include(CPack)
