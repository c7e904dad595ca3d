# tavrel_find_python(VAR MODULE...)
#
# Sets VAR to the first Python 3 interpreter that imports every MODULE, or to ""
# when none does. The candidates are the one FindPython3 finds and Debian's
# /usr/bin/python3: the python3 first on PATH may be another installation that
# lacks Debian's python3-* packages. The answer is cached per module list.
function(tavrel_find_python var)
  string(MAKE_C_IDENTIFIER "TAVREL_PYTHON_WITH_${ARGN}" cache_name)
  if(DEFINED CACHE{${cache_name}})
    set(${var} "${${cache_name}}" PARENT_SCOPE)
    return()
  endif()
  find_package(Python3 COMPONENTS Interpreter QUIET)
  set(imports "")
  foreach(module ${ARGN})
    string(APPEND imports "import ${module};")
  endforeach()
  set(found "")
  foreach(candidate ${Python3_EXECUTABLE} /usr/bin/python3)
    if(EXISTS ${candidate})
      execute_process(COMMAND ${candidate} -c "${imports}" RESULT_VARIABLE failed
        OUTPUT_QUIET ERROR_QUIET)
      if(failed EQUAL 0)
        set(found ${candidate})
        break()
      endif()
    endif()
  endforeach()
  set(${cache_name} "${found}" CACHE INTERNAL "A Python 3 that imports ${ARGN}")
  set(${var} "${found}" PARENT_SCOPE)
endfunction()
