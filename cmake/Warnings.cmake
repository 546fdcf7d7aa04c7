# Project-wide warning flags; warnings are errors unless FARSIGHTER_WERROR is off.
add_compile_options(-Wall -Wextra)
if(FARSIGHTER_WERROR)
  add_compile_options(-Werror)
endif()
