# Included by the scripts that pack the Windows programs.
#   zorvan_require_programs(WHAT PROGRAM...)
# stops, naming the program and the target that builds it, when a program is missing:
# a package without it would only fail on the operator's machine.
function(zorvan_require_programs what)
  foreach(program IN LISTS ARGN)
    if(NOT EXISTS "${program}")
      get_filename_component(name "${program}" NAME)
      get_filename_component(target "${program}" NAME_WE)
      get_filename_component(folder "${program}" DIRECTORY)
      message(FATAL_ERROR "${what} needs ${name}, which ${folder} does not hold: "
                          "build the target ${target} there first.")
    endif()
  endforeach()
endfunction()
