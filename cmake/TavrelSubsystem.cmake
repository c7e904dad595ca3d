# tavrel_subsystem(NAME [HEADER_ONLY] SOURCES src... PUBLIC dep... PRIVATE dep...)
#
# One static library per subsystem folder, tavrel_NAME with the alias
# tavrel::NAME. Its include root is the folder's include/ (one small public
# header, tavrel/NAME.h); everything else of the folder is private: sources
# reach it as "internal/...". Dependencies that the public header does not need
# are linked PRIVATE.
#
# Tests, benchmarks, fuzz targets and build tools, and only they, link
# tavrel_NAME_internals, which adds the project root so that they can include
# "NAME/internal/...".
function(tavrel_subsystem name)
  cmake_parse_arguments(ARG "HEADER_ONLY" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  set(target tavrel_${name})
  if(ARG_HEADER_ONLY)
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>)
    target_link_libraries(${target} INTERFACE ${ARG_PUBLIC})
  else()
    add_library(${target} STATIC ${ARG_SOURCES})
    target_include_directories(${target}
      PUBLIC $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>
      PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
  endif()
  add_library(tavrel::${name} ALIAS ${target})

  add_library(${target}_internals INTERFACE)
  target_include_directories(${target}_internals INTERFACE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target}_internals INTERFACE ${target} ${ARG_PRIVATE})
endfunction()
