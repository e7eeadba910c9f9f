# Compiler warnings and sanitizer switches shared by every target of the project.

set(VELMIRE_SANITIZE "" CACHE STRING "Sanitizers to build with, e.g. address;undefined or thread")

function(velmire_warnings target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow)
  endif()
endfunction()

if(VELMIRE_SANITIZE)
  string(REPLACE ";" "," _velmire_sanitizers "${VELMIRE_SANITIZE}")
  add_compile_options(-fsanitize=${_velmire_sanitizers} -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${_velmire_sanitizers})
endif()
