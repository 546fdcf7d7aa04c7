# Project-wide warning flags; warnings are errors unless FARSIGHTER_WERROR is off.
add_compile_options(-Wall -Wextra)
if(FARSIGHTER_WERROR)
  add_compile_options(-Werror)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # g++ 12 reports false -Wrestrict positives inside <string> at -O3.
    add_compile_options(-Wno-error=restrict)
  endif()
endif()
if(CMAKE_UNITY_BUILD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # A unity source includes the test sources, so g++ takes their anonymous-namespace
  # fixtures for types of another file; the warning says nothing about the code itself.
  add_compile_options(-Wno-subobject-linkage)
endif()
