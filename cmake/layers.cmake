# The program's libraries form layers whose links point one way:
#
#   base <- platform <- session <- matcher, walk <- memscan, cleanup <- scan
#        <- the front ends (ui, tools/brisko_scan)
#
# Every library is declared with brisko_library, below the libraries it
# links: a library may link only those declared before it, so no cycle can
# be written down. Its sources may include only headers of its own folder
# and of the folders of the libraries it reaches through its links; the
# configuration stops at the first include that breaks either rule.

# brisko_library(<name> STATIC|INTERFACE [SOURCES ...] [LINKS ...]
#                [SYSTEM_LIBRARIES ...])
function(brisko_library name kind)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "" "SOURCES;LINKS;SYSTEM_LIBRARIES")
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})

  set(reach ${folder})
  foreach(link IN LISTS ARG_LINKS)
    get_property(declared GLOBAL PROPERTY BRISKO_REACH_${link} SET)
    if(NOT declared)
      message(FATAL_ERROR "${name} links ${link}, which is not a library of a layer below it")
    endif()
    get_property(linkReach GLOBAL PROPERTY BRISKO_REACH_${link})
    list(APPEND reach ${linkReach})
  endforeach()
  list(REMOVE_DUPLICATES reach)
  set_property(GLOBAL PROPERTY BRISKO_REACH_${name} ${reach})

  # Its sources and every header of its folder; a program's main beside
  # them is not part of it.
  file(GLOB own_headers ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(TRANSFORM ARG_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE own_sources)
  foreach(source IN LISTS own_headers own_sources)
    file(STRINGS ${source} includes REGEX "^#include \"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"(.*)/[^/]*\".*" "\\1" included_folder "${line}")
      if(NOT included_folder IN_LIST reach)
        file(RELATIVE_PATH shown ${PROJECT_SOURCE_DIR} ${source})
        message(FATAL_ERROR "${shown} includes ${included_folder}/, which ${name} does not reach "
                            "through its links (it reaches: ${reach})")
      endif()
    endforeach()
  endforeach()

  if(kind STREQUAL "INTERFACE")
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_LINKS} ${ARG_SYSTEM_LIBRARIES})
  else()
    add_library(${name} ${kind} ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LINKS} PRIVATE ${ARG_SYSTEM_LIBRARIES})
  endif()
endfunction()
