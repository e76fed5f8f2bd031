# Checks the Linux module's symbol table as a host sees it: every entry point of EXPECTED defined,
# and no other function exported (a host written in another language finds only those).
# Usage: cmake -DOBJDUMP=... -DMODULE=... -DEXPECTED="FsInit,..." -P elf_exports_check.cmake
cmake_minimum_required(VERSION 3.25)
string(REPLACE "," ";" EXPECTED "${EXPECTED}")
execute_process(COMMAND ${OBJDUMP} -T ${MODULE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${MODULE}")
endif()

# A defined function: " g    DF .text	<size>  Base        FsInit".
string(REGEX MATCHALL "[^\n]* DF \\.text[^\n]*" lines "${dump}")
set(names)
foreach(line IN LISTS lines)
  string(REGEX REPLACE ".*[ \t]([^ \t]+)$" "\\1" name "${line}")
  list(APPEND names "${name}")
endforeach()
foreach(want IN LISTS EXPECTED)
  if(NOT want IN_LIST names)
    message(FATAL_ERROR "missing export ${want}; exports: ${names}")
  endif()
endforeach()
foreach(name IN LISTS names)
  if(NOT name IN_LIST EXPECTED)
    message(FATAL_ERROR "exports ${name}, which is no entry point of the module")
  endif()
endforeach()
list(LENGTH names count)
message(STATUS "${count} exports: ${names}")
