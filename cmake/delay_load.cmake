# Delay-loaded system DLLs: the import library made here binds a DLL's functions at their first
# call instead of at start, so a window that never prints, downloads or opens a save dialog never
# maps winspool (and with it the CUPS client), bcrypt and winhttp (and the TLS libraries Wine loads
# behind them) or comdlg32. The delay-load helper (__delayLoadHelper2) comes with MinGW-w64's CRT.
# vantrel_delay_import(VAR name dll) sets VAR to the delay-import library, or to the plain import
# library's name where no dlltool is at hand (a native build then links as before).
find_program(VANTREL_DLLTOOL NAMES ${VANTREL_TRIPLE}-dlltool dlltool)
find_program(VANTREL_NM NAMES ${VANTREL_TRIPLE}-nm nm)

function(vantrel_delay_import var name dll)
  find_library(VANTREL_IMPLIB_${name} NAMES ${name})
  set(out ${CMAKE_BINARY_DIR}/delay/lib${name}_delay.a)
  if(NOT VANTREL_DLLTOOL OR NOT VANTREL_NM OR NOT VANTREL_IMPLIB_${name})
    set(${var} ${name} PARENT_SCOPE)
    return()
  endif()
  if(NOT EXISTS ${out})
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/delay)
    # Every function the import library names (its members' text symbols).
    execute_process(COMMAND ${VANTREL_NM} ${VANTREL_IMPLIB_${name}} OUTPUT_VARIABLE symbols ERROR_QUIET)
    string(REGEX MATCHALL "[0-9a-f]+ T [A-Za-z_][A-Za-z0-9_@]*" lines "${symbols}")
    set(def "LIBRARY ${dll}\nEXPORTS\n")
    set(seen "")
    foreach(line ${lines})
      string(REGEX REPLACE "^[0-9a-f]+ T " "" fn "${line}")
      list(FIND seen ${fn} at)
      if(at EQUAL -1)
        list(APPEND seen ${fn})
        string(APPEND def "  ${fn}\n")
      endif()
    endforeach()
    file(WRITE ${CMAKE_BINARY_DIR}/delay/${name}.def "${def}")
    execute_process(COMMAND ${VANTREL_DLLTOOL} --def ${CMAKE_BINARY_DIR}/delay/${name}.def --output-delaylib ${out}
                    RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      file(REMOVE ${out})
      set(${var} ${name} PARENT_SCOPE)
      return()
    endif()
  endif()
  set(${var} ${out} PARENT_SCOPE)
endfunction()

vantrel_delay_import(VANTREL_WINSPOOL winspool winspool.drv)
vantrel_delay_import(VANTREL_COMDLG32 comdlg32 comdlg32.dll)
vantrel_delay_import(VANTREL_BCRYPT bcrypt bcrypt.dll)
vantrel_delay_import(VANTREL_WINHTTP winhttp winhttp.dll)
# The accessibility libraries are wanted only once a screen reader asks the ribbon for its object.
vantrel_delay_import(VANTREL_OLEACC oleacc oleacc.dll)
vantrel_delay_import(VANTREL_OLEAUT32 oleaut32 oleaut32.dll)
