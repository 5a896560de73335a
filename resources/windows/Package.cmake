# What the Windows programs need beside them, installed into one folder; the zip and the NSIS
# installer are made from that folder by the target windows_packages (MakePackages.cmake).

# Qt's DLLs and the plugins the window uses: the Windows platform (and the offscreen one, for
# tests and headless checks), the Windows style.
get_filename_component(QUORVANT_QT_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)
foreach(module Core Gui Widgets)
  install(FILES ${QUORVANT_QT_PREFIX}/bin/Qt6${module}.dll DESTINATION .)
endforeach()
install(FILES ${QUORVANT_QT_PREFIX}/plugins/platforms/qwindows.dll
  ${QUORVANT_QT_PREFIX}/plugins/platforms/qoffscreen.dll DESTINATION plugins/platforms)
install(FILES ${QUORVANT_QT_PREFIX}/plugins/styles/qwindowsvistastyle.dll DESTINATION plugins/styles)

# The MinGW runtime the programs and Qt were built with.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
  OUTPUT_VARIABLE QUORVANT_LIBSTDCXX OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgcc_s_seh-1.dll
  OUTPUT_VARIABLE QUORVANT_LIBGCC OUTPUT_STRIP_TRAILING_WHITESPACE)
find_file(QUORVANT_WINPTHREAD libwinpthread-1.dll PATHS /usr/${QUORVANT_MINGW_TRIPLE}/lib NO_DEFAULT_PATH REQUIRED)
install(FILES ${QUORVANT_LIBSTDCXX} ${QUORVANT_LIBGCC} ${QUORVANT_WINPTHREAD} DESTINATION .)

# Qt finds its plugins and translations beside the program, wherever it is unpacked.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/qt.conf "[Paths]\nPrefix = .\nPlugins = plugins\nTranslations = translations\n")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/qt.conf DESTINATION .)
# Qt's own Dutch texts (choosers, message-box buttons): Debian's .qm files fit every system.
foreach(qm qtbase_nl.qm qt_nl.qm)
  if(EXISTS /usr/share/qt6/translations/${qm})
    install(FILES /usr/share/qt6/translations/${qm} DESTINATION translations)
  endif()
endforeach()

# The licences: ours, Qt's (LGPL: with where its source comes from) and the MinGW runtime's.
install(FILES ${PROJECT_SOURCE_DIR}/resources/copyright DESTINATION licences RENAME quorvant.txt)
install(DIRECTORY ${QUORVANT_QT_PREFIX}/licences/ DESTINATION licences/qt)
foreach(package gcc-mingw-w64-base mingw-w64-common)
  install(FILES /usr/share/doc/${package}/copyright DESTINATION licences RENAME ${package}.txt)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/CHANGELOG.md DESTINATION .)

add_custom_target(windows_packages
  COMMAND ${CMAKE_COMMAND}
    -DBUILD=${CMAKE_BINARY_DIR} -DVERSION=${PROJECT_VERSION} -DSTRIP=${CMAKE_STRIP}
    -DNSI=${CMAKE_CURRENT_SOURCE_DIR}/windows/quorvant.nsi
    -DICON=${CMAKE_CURRENT_SOURCE_DIR}/windows/quorvant.ico
    -P ${CMAKE_CURRENT_SOURCE_DIR}/windows/MakePackages.cmake
  USES_TERMINAL
  COMMENT "Windows zip and installer")
add_dependencies(windows_packages quorvant quorvant-ini)
