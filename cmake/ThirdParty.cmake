# Third-party code, all from Debian packages (scripts/install-deps installs them).

# GoogleTest is compiled from its sources for every build, so that the cross
# builds and the sanitizer build get a library made with their own flags.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
foreach(target gtest gtest_main gmock gmock_main)
    target_compile_options(${target} PRIVATE -w)
endforeach()

# Header-only libraries reach the cross compilers through a folder of links to
# their own folders only: /usr/include itself must never be on a mingw path.
set(DAX_HEADER_ONLY_DIR ${CMAKE_BINARY_DIR}/header-only)
file(MAKE_DIRECTORY ${DAX_HEADER_ONLY_DIR})
foreach(dir boost nlohmann)
    if(EXISTS /usr/include/${dir} AND NOT EXISTS ${DAX_HEADER_ONLY_DIR}/${dir})
        file(CREATE_LINK /usr/include/${dir} ${DAX_HEADER_ONLY_DIR}/${dir} SYMBOLIC)
    endif()
endforeach()
add_library(header_only INTERFACE)
target_include_directories(header_only SYSTEM INTERFACE ${DAX_HEADER_ONLY_DIR})

# Tests built for Windows run under wine64 with a private prefix in the build tree.
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(DAX_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE @ONLY)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
endif()
