# Warnings for the project's own targets.
function(qzr_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                           -Wcast-align -Wunused -Woverloaded-virtual -Wnull-dereference)
  if(QZR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
