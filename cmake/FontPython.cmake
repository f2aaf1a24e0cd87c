# The Python interpreter that runs the font generators (fonts/*.py) at configure and build time.
# The generator needs fontTools; Debian's package serves /usr/bin/python3, which need not be the
# python3 first on PATH.
if(NOT SW_FONT_PYTHON)
  set(_candidates /usr/bin/python3)
  find_program(_sw_path_python NAMES python3)
  if(_sw_path_python)
    list(APPEND _candidates ${_sw_path_python})
  endif()
  foreach(_py IN LISTS _candidates)
    execute_process(COMMAND ${_py} -c "import fontTools" RESULT_VARIABLE _rc
                    OUTPUT_QUIET ERROR_QUIET)
    if(_rc EQUAL 0)
      set(SW_FONT_PYTHON ${_py} CACHE FILEPATH "Python interpreter with fontTools")
      break()
    endif()
  endforeach()
  if(NOT SW_FONT_PYTHON)
    message(FATAL_ERROR "No Python interpreter with fontTools found (install python3-fonttools)")
  endif()
endif()
