# tavrel_man_page(TARGET executable INCLUDE file.h2m COMPONENT component)
#
# The section 1 page of an executable, made at build time by help2man from the
# program's own --help and --version, so it cannot drift from them; the include
# file adds what --help lacks (name line, files, environment, examples, see
# also). The help is UTF-8 whatever the build's locale. The page is compressed as Debian packages keep man pages and installed
# under share/man/man1 with the component.
find_program(TAVREL_HELP2MAN help2man)
find_program(TAVREL_GZIP gzip)

function(tavrel_man_page)
  cmake_parse_arguments(ARG "" "TARGET;INCLUDE;COMPONENT" "" ${ARGN})
  if(NOT TAVREL_HELP2MAN OR NOT TAVREL_GZIP)
    message(WARNING "help2man or gzip not found: ${ARG_TARGET} gets no man page "
      "(tools/install-deps.sh installs them)")
    return()
  endif()
  set(page ${CMAKE_CURRENT_BINARY_DIR}/${ARG_TARGET}.1)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${TAVREL_HELP2MAN} --no-info --section=1 --locale=C.UTF-8 --include=${ARG_INCLUDE}
      --output=${page} $<TARGET_FILE:${ARG_TARGET}>
    COMMAND ${TAVREL_GZIP} -9 -n -f ${page}
    DEPENDS ${ARG_TARGET} ${ARG_INCLUDE}
    COMMENT "Writing the man page of ${ARG_TARGET} from its --help"
    VERBATIM)
  add_custom_target(${ARG_TARGET}_man_page ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${ARG_COMPONENT})
endfunction()
