# Installation layout and the Debian package.
include(GNUInstallDirs)

install(TARGETS quillbay-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES docs/quillbay-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# (The Windows build packs its window with scripts/package: NSIS and a zip.)
if(QB_BUILD_SHELL AND NOT WIN32)
    install(TARGETS quillbay RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES docs/quillbay.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES data/quillbay.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES data/io.github.quillbay.Quillbay.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES data/quillbay-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
            RENAME quillbay.xml)
    install(FILES data/icons/quillbay.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

    # The PNG icons are rendered from the SVG at build time.
    find_package(Qt6 REQUIRED COMPONENTS Svg Gui)
    add_executable(render_icons tools/render_icons.cpp)
    target_link_libraries(render_icons PRIVATE Qt6::Svg Qt6::Gui qb_warnings)
    set(QB_ICON_DIR ${PROJECT_BINARY_DIR}/icons)
    add_custom_command(OUTPUT ${QB_ICON_DIR}/256x256/quillbay.png
                       COMMAND render_icons ${PROJECT_SOURCE_DIR}/data/icons/quillbay.svg ${QB_ICON_DIR}
                       DEPENDS render_icons ${PROJECT_SOURCE_DIR}/data/icons/quillbay.svg
                       COMMENT "Rendering the application icons")
    add_custom_target(icons ALL DEPENDS ${QB_ICON_DIR}/256x256/quillbay.png)
    foreach(size 16 24 32 48 64 128 256)
        install(FILES ${QB_ICON_DIR}/${size}x${size}/quillbay.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillbay)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quillbay developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Player editor for the PC game Cricket 2004")
set(CPACK_PACKAGE_CONTACT "The Quillbay developers <quillbay@users.noreply.github.com>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
