# Warnings for the project's own targets.
function(qzr_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wcast-align -Wunused
                                           -Wnull-dereference
                                           $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor -Woverloaded-virtual>)
  if(QZR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
