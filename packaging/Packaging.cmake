# Installation as a desktop program and the Debian package built by `cpack -G DEB`:
# the programs, the data files they read at run time, a .desktop entry and an icon.
include(GNUInstallDirs)

install(TARGETS qmxcli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET qmx)
  install(TARGETS qmx RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES "${PROJECT_SOURCE_DIR}/packaging/qmx.desktop"
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES "${PROJECT_SOURCE_DIR}/src/ui/resources/artwork/qmx.png"
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
endif()
# Tables and reference values, found by the programs under <prefix>/share/qmx/data.
install(DIRECTORY "${PROJECT_SOURCE_DIR}/data/" DESTINATION ${CMAKE_INSTALL_DATADIR}/qmx/data)
install(FILES "${PROJECT_SOURCE_DIR}/README.md" DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME "qmx")
set(CPACK_PACKAGE_VENDOR "qmx developers")
set(CPACK_PACKAGE_CONTACT "qmx developers <qmx@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Flow-measurement calculator (Qumetrix) for differential-pressure and turbine meters")
set(CPACK_PACKAGE_DESCRIPTION
    "Computes flow through orifice plates (AGA-3, ISO 5167), venturis, nozzles, cones, averaging pitot tubes and gas turbine meters in natural gas (AGA-8, SGERG-88), steam (IAPWS-IF97) and liquids (API MPMS 11.1), with every intermediate factor and limit warnings. Desktop program qmx and command line qmxcli.")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "qmx")
set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/package")
include(CPack)
