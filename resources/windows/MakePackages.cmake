# cmake -DBUILD=... -DVERSION=... -DNSI=... -DICON=... -P MakePackages.cmake
# Installs the Windows build into a stage folder, zips it and builds the NSIS installer from it.
# A script gets no policies from the project: IN_LIST below needs them.
cmake_minimum_required(VERSION 3.25)
set(name quorvant-${VERSION})
set(stage ${BUILD}/stage/${name})
file(REMOVE_RECURSE ${BUILD}/stage)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${stage} --strip
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
# --strip strips only our own programs; the MinGW runtime comes with its debug sections
# (libstdc++ 23 MB, 4 MB without), which are no use on a station.
file(GLOB_RECURSE dlls ${stage}/*.dll)
if(STRIP AND dlls)
  execute_process(COMMAND ${STRIP} --strip-debug ${dlls} COMMAND_ERROR_IS_FATAL ANY)
endif()

set(zip ${BUILD}/${name}-windows-x64.zip)
file(REMOVE ${zip})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${name}
  WORKING_DIRECTORY ${BUILD}/stage COMMAND_ERROR_IS_FATAL ANY)

# The installer lists every file it puts down, so its uninstaller removes those and nothing else
# (never the settings files or their history, should they lie in the same folder).
file(GLOB_RECURSE files RELATIVE ${stage} ${stage}/*)
list(SORT files)
set(install "")
set(uninstall "")
set(folders "")
foreach(file ${files})
  get_filename_component(folder ${file} DIRECTORY)
  string(REPLACE "/" "\\" winfile "${file}")
  string(REPLACE "/" "\\" winfolder "${folder}")
  string(APPEND install "SetOutPath \"$INSTDIR\\${winfolder}\"\nFile \"${stage}/${file}\"\n")
  string(APPEND uninstall "Delete \"$INSTDIR\\${winfile}\"\n")
  while(folder AND NOT folder IN_LIST folders)
    list(APPEND folders ${folder})
    get_filename_component(folder ${folder} DIRECTORY)
  endwhile()
endforeach()
# Deepest folders first; RMDir leaves a folder that still holds something.
list(SORT folders ORDER DESCENDING)
foreach(folder ${folders})
  string(REPLACE "/" "\\" winfolder "${folder}")
  string(APPEND uninstall "RMDir \"$INSTDIR\\${winfolder}\"\n")
endforeach()
file(WRITE ${BUILD}/installer-files.nsh "${install}")
file(WRITE ${BUILD}/uninstaller-files.nsh "${uninstall}")

set(setup ${BUILD}/${name}-setup.exe)
execute_process(COMMAND makensis -V2 -DVERSION=${VERSION} -DOUTFILE=${setup} -DICON=${ICON}
  -DFILES=${BUILD}/installer-files.nsh -DUNFILES=${BUILD}/uninstaller-files.nsh ${NSI}
  COMMAND_ERROR_IS_FATAL ANY)
file(SIZE ${zip} zip_size)
file(SIZE ${setup} setup_size)
math(EXPR zip_kb "${zip_size} / 1024")
math(EXPR setup_kb "${setup_size} / 1024")
message(STATUS "${zip}: ${zip_kb} KiB")
message(STATUS "${setup}: ${setup_kb} KiB")
