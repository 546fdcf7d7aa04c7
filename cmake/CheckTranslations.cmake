# Checks that every text of the program has a finished translation: lupdate reads the
# sources into a copy of the committed .ts file, and each message that comes out unfinished
# (a new text, or one whose source changed) is named. A translation also keeps its
# placeholders (%1, %2, ...) and, for a menu's item string, its number of items.
#   cmake -DLUPDATE=path -DTS=file.ts -DSOURCE_DIR=dir -DFOLDERS=a,b,c -DWORK_DIR=dir
#         -P CheckTranslations.cmake
cmake_minimum_required(VERSION 3.25)
get_filename_component(name "${TS}" NAME)
set(copy "${WORK_DIR}/${name}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(COPY_FILE "${TS}" "${copy}")
string(REPLACE "," ";" folders "${FOLDERS}")
execute_process(
  COMMAND "${LUPDATE}" -silent -locations none -no-obsolete -extensions cpp,h -I "${SOURCE_DIR}"
          ${folders} -ts "${copy}"
  WORKING_DIRECTORY "${SOURCE_DIR}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lupdate failed (${result})")
endif()

file(READ "${copy}" text)
set(problems 0)
# One message at a time, without CMake lists: the texts hold semicolons.
while(TRUE)
  string(FIND "${text}" "</message>" end)
  if(end EQUAL -1)
    break()
  endif()
  string(SUBSTRING "${text}" 0 ${end} message)
  math(EXPR end "${end} + 10")
  string(SUBSTRING "${text}" ${end} -1 text)
  if(NOT message MATCHES "<source>([^<]*)</source>")
    continue()
  endif()
  set(source "${CMAKE_MATCH_1}")
  if(message MATCHES "type=\"unfinished\"" OR NOT message MATCHES "<translation>([^<]+)</translation>")
    message(SEND_ERROR "No finished translation in ${name}: \"${source}\"")
    math(EXPR problems "${problems} + 1")
    continue()
  endif()
  set(translation "${CMAKE_MATCH_1}")
  string(REGEX MATCHALL "%[0-9]" source_args "${source}")
  string(REGEX MATCHALL "%[0-9]" translation_args "${translation}")
  list(SORT source_args)
  list(SORT translation_args)
  # The item separators of a menu's item string, without the ends of XML's &...; entities.
  string(REGEX REPLACE "&#?[a-zA-Z0-9]+;" "" source_items "${source}")
  string(REGEX REPLACE "&#?[a-zA-Z0-9]+;" "" translation_items "${translation}")
  string(REGEX REPLACE "[^;]" "" source_items "${source_items}")
  string(REGEX REPLACE "[^;]" "" translation_items "${translation_items}")
  if(NOT "${source_args}" STREQUAL "${translation_args}" OR
     NOT "${source_items}" STREQUAL "${translation_items}")
    message(SEND_ERROR "The translation in ${name} of \"${source}\" does not keep its "
                       "placeholders or items")
    math(EXPR problems "${problems} + 1")
  endif()
endwhile()
if(problems GREATER 0)
  message(FATAL_ERROR "${problems} text(s) need a translation: run the target "
                      "farsighter_lupdate and translate them in ${TS}")
endif()
