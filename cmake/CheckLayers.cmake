# Fails when a source folder includes from a folder above it in the layer
# order, or from a folder the order does not place.
#   cmake -DSOURCE_DIR=<source tree> -P CheckLayers.cmake

# Lowest first. Folders joined by "|" share a layer; a subfolder not named
# here belongs to its parent's layer (app/window is app).
set(layers
  "protocol"
  "files"
  "serial"
  "traffic"
  "outstation"
  "widgets"
  "export|about"
  "serial/ui"
  "traffic/ui"
  "files/ui"
  "app"
)

set(folders "")
set(rank 0)
foreach(layer IN LISTS layers)
  string(REPLACE "|" ";" members "${layer}")
  foreach(folder IN LISTS members)
    list(APPEND folders "${folder}")
    set(rank_${folder} ${rank})
  endforeach()
  math(EXPR rank "${rank} + 1")
endforeach()

# The placed folder a path lies in (the longest that matches), or "".
function(placed_folder path out)
  set(found "")
  foreach(folder IN LISTS folders)
    string(LENGTH "${folder}" length)
    string(LENGTH "${found}" foundLength)
    string(FIND "${path}" "${folder}/" at)
    if(at EQUAL 0 AND length GREATER foundLength)
      set(found "${folder}")
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

set(sources "")
foreach(folder IN LISTS folders)
  file(GLOB_RECURSE found RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  list(APPEND sources ${found})
endforeach()
list(REMOVE_DUPLICATES sources)
list(LENGTH sources count)
if(count EQUAL 0)
  message(FATAL_ERROR "no sources under ${SOURCE_DIR}")
endif()

set(faults "")
foreach(source IN LISTS sources)
  placed_folder("${source}" from)
  file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+/[^\"]+\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" included "${line}")
    placed_folder("${included}" to)
    if(to STREQUAL "")
      list(APPEND faults "${source}: ${included} lies in no folder of the layer order")
    elseif(rank_${to} GREATER rank_${from})
      list(APPEND faults "${source} (${from}) includes ${included} (${to}) from a higher layer")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes against the layer order:\n  ${text}")
endif()
message(STATUS "${count} sources follow the layer order")
