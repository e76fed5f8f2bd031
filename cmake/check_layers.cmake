# The layer check: the folders of src/ are layers, and a file may include the headers of its own
# layer and of the layers below it, never of one above (README, "Code map"). Reads the
# #include "..." lines of every .h and .cpp below SOURCE_DIR and fails naming each upward include,
# each include from a folder that is no layer, and each folder that has no place in the order.
# Usage: cmake -DSOURCE_DIR=<src> -P check_layers.cmake
if(NOT DEFINED SOURCE_DIR)
  message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<src folder> -P check_layers.cmake")
endif()
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

# Lowest first. util sits below the platform seam because the POSIX and Win32 backends use it.
set(LAYERS util platform base texts definitions stores database apply commands ui plugin interface)

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
list(SORT files)
set(faults 0)
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" own "${file}")
  list(FIND LAYERS "${own}" ownRank)
  if(ownRank EQUAL -1)
    message(SEND_ERROR "${file}: src/${own}/ is no layer; give it its place in LAYERS and the code map")
    math(EXPR faults "${faults} + 1")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" header "${line}")
    # A bare name is a file beside this one (resources, generated headers).
    if(NOT header MATCHES "/")
      continue()
    endif()
    string(REGEX MATCH "^[^/]+" layer "${header}")
    list(FIND LAYERS "${layer}" rank)
    if(rank EQUAL -1)
      message(SEND_ERROR "${file} includes ${header}: ${layer}/ is no layer")
      math(EXPR faults "${faults} + 1")
    elseif(rank GREATER ownRank)
      message(SEND_ERROR "${file} includes ${header}: ${own}/ may not use ${layer}/, a layer above it")
      math(EXPR faults "${faults} + 1")
    endif()
  endforeach()
endforeach()

list(LENGTH files count)
if(faults GREATER 0)
  message(FATAL_ERROR "${faults} include(s) against the layers")
endif()
message(STATUS "layers: ${count} files, every include points down or sideways")
