# Installs the build into a fresh staging folder and writes, from the list of what was
# installed, the lists the installer is made from: install.nsh (what to install), uninstall.nsh
# (what to remove, and nothing else: a player may have chosen a folder with other things in
# it) and files.txt (the same files, one a line, for the tests).
#
#   cmake -DBUILD=<build folder> -DSTAGE=<staging folder> -DLISTS=<lists' folder> -P Stage.cmake
cmake_minimum_required(VERSION 3.20)
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${STAGE} --strip
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(STRINGS ${BUILD}/install_manifest.txt installed)
if(NOT installed)
    message(FATAL_ERROR "the install rules installed nothing")
endif()

set(files "")
set(install "")
set(uninstall "")
set(folders "")
set(bytes 0)
foreach(path IN LISTS installed)
    cmake_path(NORMAL_PATH path)
    file(RELATIVE_PATH file ${STAGE} ${path})
    get_filename_component(folder ${file} DIRECTORY)
    string(REPLACE / \\ windows_file "${file}")
    set(out_path "$INSTDIR")
    if(NOT folder STREQUAL "")
        string(REPLACE / \\ windows_folder "${folder}")
        string(APPEND out_path "\\${windows_folder}")
        if(NOT folder IN_LIST folders)
            list(APPEND folders ${folder})
        endif()
    endif()
    string(APPEND files "${file}\n")
    string(APPEND install "SetOutPath \"${out_path}\"\nFile \"${path}\"\n")
    string(APPEND uninstall "Delete \"$INSTDIR\\${windows_file}\"\n")
    file(SIZE ${path} size)
    math(EXPR bytes "${bytes} + ${size}")
endforeach()
# Deepest first, each only if empty.
list(SORT folders ORDER DESCENDING)
foreach(folder IN LISTS folders)
    string(REPLACE / \\ windows_folder "${folder}")
    string(APPEND uninstall "RMDir \"$INSTDIR\\${windows_folder}\"\n")
endforeach()
math(EXPR kilobytes "(${bytes} + 1023) / 1024")
string(APPEND install "!define EMBERWING_SIZE_KB ${kilobytes}\n")

file(WRITE ${LISTS}/files.txt "${files}")
file(WRITE ${LISTS}/install.nsh "${install}")
file(WRITE ${LISTS}/uninstall.nsh "${uninstall}")
