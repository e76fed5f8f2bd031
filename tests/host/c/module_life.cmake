# Runs the C host against a copy of the module with two tweaks beside it, then checks what a
# host sees afterwards: the exit status, the listing, qzrtc.ini written by shut-down with the
# language read at start (lang=257 is kept as 1), and no database in the module's folder.
# "threads" exits while its threads read columns, so it runs a dozen times: whether a thread is
# inside the module or calling in anew when shut-down runs differs from run to run.
# -DHOST=... -DMODULE=... -DWORK=<scratch folder> -DMODE=unload|exit|threads
set(runs 1)
if(MODE STREQUAL "threads")
  set(runs 12)
endif()
foreach(run RANGE 1 ${runs})
  file(REMOVE_RECURSE ${WORK})
  file(MAKE_DIRECTORY ${WORK}/module/plugins ${WORK}/settings)
  file(COPY ${MODULE} DESTINATION ${WORK}/module)
  get_filename_component(name ${MODULE} NAME)
  file(WRITE ${WORK}/module/plugins/one.tweak
       "TWEAKNAME> Life test\nROOTKEY> HKCU\nPATH> Software\\QZR_TC_Test\\life\nVALUENAME> V\nVALUETYPE> DWORD\nVALUEON> 1\nVALUEOFF> 0\n")
  file(WRITE ${WORK}/module/plugins/two.tweak
       "TWEAKNAME> Life test CFG\nTYPE> CFG\nPATH> ${WORK}/missing/life.cfg\nVALUENAME> v\nVALUETYPE> STRING\nVALUEON> 1\nVALUEOFF> 0\n")
  file(WRITE ${WORK}/settings/qzrtc.ini "[main]\r\nlang=257\r\n")

  execute_process(COMMAND ${HOST} ${WORK}/module/${name} ${WORK}/settings ${MODE}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the host ended with ${status}\n${out}${err}")
  endif()
  if(NOT out MATCHES "entries=2\n")
    message(FATAL_ERROR "the listing did not hold the two tweaks:\n${out}${err}")
  endif()
  if(NOT MODE STREQUAL "threads" AND NOT out MATCHES "refused=1\n")
    message(FATAL_ERROR "switching a tweak whose folder is missing was not refused:\n${out}${err}")
  endif()
  if(MODE STREQUAL "unload" AND NOT out MATCHES "unloaded\n")
    message(FATAL_ERROR "no unload:\n${out}${err}")
  endif()
  # Compared as hexadecimal: file(READ) as text would drop the carriage returns.
  file(READ ${WORK}/settings/qzrtc.ini ini HEX)
  string(HEX "[main]\r\nlang=1\r\n" expected)
  if(NOT ini STREQUAL expected)
    message(FATAL_ERROR "qzrtc.ini after the host (hexadecimal): ${ini}")
  endif()
  if(err MATCHES "AddressSanitizer|double free|LeakSanitizer")
    message(FATAL_ERROR "${err}")
  endif()
  if(EXISTS ${WORK}/module/qzr_plugins)
    message(FATAL_ERROR "a call after shut-down started the module again and built in its folder")
  endif()
endforeach()
message(STATUS "${MODE}: ${out}")
