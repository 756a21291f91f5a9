# `cmake --install <build> --prefix <prefix>` (DESTDIR works as well): the program, its default files
# under share/vestralon, and the desktop entry, icon and AppStream metainfo that desktops and
# software centres read. ./run.sh keeps its own layout with everything beside the program (dist/).
include(GNUInstallDirs)

set(VESTRAL_APP_ID "example.veltrano_systemhaus.vestralon")
set(VESTRAL_SHARE_DIR "${CMAKE_INSTALL_DATADIR}/vestralon")

install(TARGETS vestralon RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES "${CMAKE_SOURCE_DIR}/data/VESTRAL.INI" DESTINATION "${VESTRAL_SHARE_DIR}")
install(DIRECTORY "${CMAKE_SOURCE_DIR}/data/info/" DESTINATION "${VESTRAL_SHARE_DIR}/info")
install(DIRECTORY "${CMAKE_SOURCE_DIR}/data/text/" DESTINATION "${VESTRAL_SHARE_DIR}/text")
# The documents rendered during the build.
install(DIRECTORY "${CMAKE_BINARY_DIR}/data/info/" DESTINATION "${VESTRAL_SHARE_DIR}/info" OPTIONAL)

configure_file("${CMAKE_SOURCE_DIR}/data/desktop/vestralon.metainfo.xml.in"
               "${CMAKE_BINARY_DIR}/data/desktop/${VESTRAL_APP_ID}.metainfo.xml" @ONLY)
# The desktop entry starts the program by its full path, so any prefix works without being on PATH;
# the prefix is known only when installing.
install(CODE "
  set(VESTRAL_APP_ID \"${VESTRAL_APP_ID}\")
  set(VESTRAL_EXEC \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/vestralon\")
  configure_file(\"${CMAKE_SOURCE_DIR}/data/desktop/vestralon.desktop.in\"
                 \"${CMAKE_BINARY_DIR}/data/desktop/${VESTRAL_APP_ID}.desktop\" @ONLY)
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\" TYPE FILE
       FILES \"${CMAKE_BINARY_DIR}/data/desktop/${VESTRAL_APP_ID}.desktop\")
")
install(FILES "${CMAKE_BINARY_DIR}/data/desktop/${VESTRAL_APP_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${CMAKE_SOURCE_DIR}/data/desktop/vestralon.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps" RENAME "${VESTRAL_APP_ID}.svg")

# Where the installed program finds share/vestralon, seen from its own directory.
file(RELATIVE_PATH VESTRAL_SHARE_FROM_BIN "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${VESTRAL_SHARE_DIR}")
# Only the start-up file gets the definition, so the other sources keep their compile lines.
set_source_files_properties("${CMAKE_SOURCE_DIR}/src/app/startup.cpp" TARGET_DIRECTORY vestral_gui
                            PROPERTIES COMPILE_DEFINITIONS "VESTRAL_SHARE_FROM_BIN=\"${VESTRAL_SHARE_FROM_BIN}\"")
