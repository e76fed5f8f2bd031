# Checks which glibc the Linux module needs: no symbol version and no version reference newer
# than MAXIMUM (and none of glibc's private ones), so the module loads on that glibc too.
# Usage: cmake -DOBJDUMP=... -DMODULE=... -DMAXIMUM=2.31 -P glibc_check.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -T -p ${MODULE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${MODULE}")
endif()

# A dynamic symbol names its version before it ("(GLIBC_2.34) pthread_once"); the version
# references list the versions alone.
string(REGEX MATCHALL "GLIBC_[0-9A-Z_.]+\\)? *[^ \n]*" uses "${dump}")
set(newer)
foreach(use IN LISTS uses)
  string(REGEX MATCH "^GLIBC_[0-9A-Z_.]+" version "${use}")
  string(REGEX REPLACE "^GLIBC_" "" number "${version}")
  if(NOT number MATCHES "^[0-9.]+$" OR number VERSION_GREATER MAXIMUM)
    string(REGEX REPLACE "[) ]+" " " use "${use}")
    list(APPEND newer "${use}")
  endif()
endforeach()
list(REMOVE_DUPLICATES newer)
if(newer)
  list(JOIN newer "\n  " newer)
  message(FATAL_ERROR "${MODULE} needs more than glibc ${MAXIMUM}:\n  ${newer}")
endif()
message(STATUS "nothing newer than glibc ${MAXIMUM}")
