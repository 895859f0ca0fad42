# Checks that each of PROGRAMS is built as hardened as Debian's own packages: a
# position-independent executable, relocations read-only and bound at start, the stack
# protector and checked C library calls in use.
set(marks "Type: +DYN" "GNU_RELRO" "\\(FLAGS(_1)?\\)[^\n]*NOW|\\(BIND_NOW\\)" "__stack_chk_fail"
          "__[a-z_]+_chk@")
set(names "position-independent executable" "read-only relocations (relro)"
          "immediate binding (now)" "stack protector" "checked C library calls (FORTIFY_SOURCE)")
foreach(program IN LISTS PROGRAMS)
  execute_process(COMMAND readelf --wide --file-header --dynamic --program-headers
                          --dyn-syms ${program}
                  RESULT_VARIABLE code OUTPUT_VARIABLE elf ERROR_VARIABLE err)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "readelf could not read ${program}: ${err}")
  endif()
  set(missing)
  foreach(mark name IN ZIP_LISTS marks names)
    if(NOT elf MATCHES "${mark}")
      list(APPEND missing "${name}")
    endif()
  endforeach()
  if(missing)
    list(JOIN missing ", " missing)
    message(FATAL_ERROR "${program} is built without: ${missing}")
  endif()
endforeach()
