# Lays out data/ in the program folder: cmake -DSOURCE=data -DTARGET=bin -P LayOutData.cmake
#
# A plain copy never removes anything, so a file the project stopped shipping
# (an engine file or weights replaced by others) would stay in an existing
# build and still be read. The folder also holds what users add (endgame
# tables, settings, their own engine files), so only files this script copied
# before and that data/ no longer has are removed; a manifest remembers them.

cmake_minimum_required(VERSION 3.20)

set(manifest "${TARGET}/.shipped_files")
file(GLOB_RECURSE shipped RELATIVE "${SOURCE}" LIST_DIRECTORIES false "${SOURCE}/*")
list(SORT shipped)

if(EXISTS "${manifest}")
  file(STRINGS "${manifest}" before)
else()
  # Builds laid out before the manifest existed: the files retired since.
  set(before Patterns/International.k4w Patterns/Russian.k4w)
endif()
foreach(name IN LISTS before)
  if(NOT name IN_LIST shipped AND NOT name MATCHES "(^|/)\\.\\.(/|$)")
    file(REMOVE "${TARGET}/${name}")
  endif()
endforeach()

# Compared by content: a checkout can leave a changed file with an older time.
foreach(name IN LISTS shipped)
  get_filename_component(folder "${TARGET}/${name}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  file(COPY_FILE "${SOURCE}/${name}" "${TARGET}/${name}" ONLY_IF_DIFFERENT)
endforeach()
string(REPLACE ";" "\n" lines "${shipped}")
file(WRITE "${manifest}.tmp" "${lines}\n")
file(RENAME "${manifest}.tmp" "${manifest}")
