# cmake -D from=<initial store> -D to=<program folder>/unins000.dll -P PlaceStore.cmake
# Copies the initial store only where there is no store yet; an existing one is left as it is.
if(EXISTS "${to}" OR IS_SYMLINK "${to}")
    return()
endif()
get_filename_component(_folder "${to}" DIRECTORY)
file(MAKE_DIRECTORY "${_folder}")
file(COPY_FILE "${from}" "${to}")
