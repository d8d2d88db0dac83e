# What `cmake --install` puts in place, and the packages CPack makes of it:
#   include/dax64/           the C headers of the three libraries (and platform/api.h,
#                            which they include for the calling convention); a
#                            folder of their own keeps "platform/" out of include/
#   lib/ (Linux), bin/ (DLLs) the shared libraries; lib/ also the import libraries
#                            and .def files of the Windows builds
#   bin/daxhost              the script host (it finds the libraries in ../lib)
#   lib/cmake/dax64/         find_package(dax64): targets dax64::vek64,
#                            dax64::morph64, dax64::dax64
#   lib/pkgconfig/           vek64.pc, morph64.pc, dax64.pc
# The libraries go to lib/ itself, not to a multiarch folder, so that daxhost and the
# Python package find them beside each other wherever the tree is installed.
include(CMakePackageConfigHelpers)

set(DAX_INSTALL_CMAKEDIR lib/cmake/dax64)

install(TARGETS vek64 morph64 dax64 EXPORT dax64Targets
        LIBRARY DESTINATION lib
        RUNTIME DESTINATION bin
        ARCHIVE DESTINATION lib
        INCLUDES DESTINATION include/dax64)
install(TARGETS daxhost RUNTIME DESTINATION bin)

# The C headers. vek64_com.h stays out: it needs the platform layer's COM
# declarations, whose functions the libraries do not export.
install(FILES ${PROJECT_SOURCE_DIR}/vek/include/vek64.h
              ${PROJECT_SOURCE_DIR}/vek/include/vek64_store.h
              ${PROJECT_SOURCE_DIR}/vek/include/vek64_tree.h
              ${PROJECT_SOURCE_DIR}/vek/include/vek64_objects.h
              ${PROJECT_SOURCE_DIR}/morph/include/morph64.h
              ${PROJECT_SOURCE_DIR}/dax/include/dax64.h
              ${PROJECT_SOURCE_DIR}/dax/include/dax64_server.h
        DESTINATION include/dax64)
install(FILES ${PROJECT_SOURCE_DIR}/platform/include/platform/api.h
        DESTINATION include/dax64/platform)

if(WIN32)
    install(FILES ${CMAKE_BINARY_DIR}/archive/vek64.def ${CMAKE_BINARY_DIR}/archive/morph64.def
                  ${CMAKE_BINARY_DIR}/archive/dax64.def
            DESTINATION lib)
endif()

install(EXPORT dax64Targets NAMESPACE dax64:: DESTINATION ${DAX_INSTALL_CMAKEDIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/install/dax64Config.cmake.in
                              ${CMAKE_BINARY_DIR}/dax64Config.cmake
                              INSTALL_DESTINATION ${DAX_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/dax64ConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/dax64Config.cmake ${CMAKE_BINARY_DIR}/dax64ConfigVersion.cmake
        DESTINATION ${DAX_INSTALL_CMAKEDIR})

# pkg-config files name their prefix relative to their own folder, so an installed
# tree can be moved (or unpacked from a package) anywhere.
foreach(library vek64 morph64 dax64)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/install/${library}.pc.in
                   ${CMAKE_BINARY_DIR}/pkgconfig/${library}.pc @ONLY)
    install(FILES ${CMAKE_BINARY_DIR}/pkgconfig/${library}.pc DESTINATION lib/pkgconfig)
endforeach()

# Packages: a Debian package of a Linux build, a ZIP of a Windows build.
set(CPACK_PACKAGE_NAME dax64)
set(CPACK_PACKAGE_VENDOR "dax64")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Script-support libraries for test automation")
set(CPACK_PACKAGE_CONTACT "dax64 maintainers <dax64@localhost>")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
if(WIN32)
    set(CPACK_GENERATOR ZIP)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(CPACK_SYSTEM_NAME win64)
    else()
        set(CPACK_SYSTEM_NAME win32)
    endif()
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION libs)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
endif()
include(CPack)
