# The library each fuzz target drives, by the target's name (fuzz_<reader>), and its seed corpus,
# fuzz/corpus/<reader>.
function(kl_fuzz_target_library name out)
  if(name STREQUAL "fuzz_ini")
    set(${out} kl_profile PARENT_SCOPE)
  elseif(name STREQUAL "fuzz_bmp")
    set(${out} kl_framework PARENT_SCOPE)
  else()
    set(${out} kl_richedit PARENT_SCOPE)
  endif()
endfunction()

function(kl_fuzz_corpus name out)
  string(REGEX REPLACE "^fuzz_" "" reader ${name})
  set(${out} ${PROJECT_SOURCE_DIR}/fuzz/corpus/${reader} PARENT_SCOPE)
endfunction()
