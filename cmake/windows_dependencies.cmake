# The Windows build takes its libraries from the sources Debian ships, since Debian packages none of them for
# MinGW: pugixml's source package (fetched by scripts/build-windows), SimpleIni's header and GoogleTest's sources.
set(TESSARA_PUGIXML_SOURCE_DIR "" CACHE PATH "pugixml's unpacked source package (with src/pugixml.cpp)")
if(NOT EXISTS "${TESSARA_PUGIXML_SOURCE_DIR}/src/pugixml.cpp")
  message(FATAL_ERROR "TESSARA_PUGIXML_SOURCE_DIR must name pugixml's source: scripts/build-windows fetches it")
endif()
add_library(pugixml STATIC ${TESSARA_PUGIXML_SOURCE_DIR}/src/pugixml.cpp)
target_include_directories(pugixml SYSTEM PUBLIC ${TESSARA_PUGIXML_SOURCE_DIR}/src)
add_library(pugixml::pugixml ALIAS pugixml)

# Only the header is taken from /usr/include, copied apart so the host's other headers stay out of the build.
# Its Win32 converter needs no ICU.
configure_file(/usr/include/SimpleIni.h ${CMAKE_BINARY_DIR}/simpleini/SimpleIni.h COPYONLY)
add_library(tessara_simpleini INTERFACE)
target_include_directories(tessara_simpleini SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/simpleini)
# Debian's header keeps its template definitions behind SI_IMPLEMENTATION, for its own library; here they are
# instantiated where used, as the upstream header does.
target_compile_definitions(tessara_simpleini INTERFACE SI_CONVERT_WIN32 SI_IMPLEMENTATION)

if(TESSARA_BUILD_TESTS)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # GoogleTest names its targets GTest::gtest and GTest::gmock itself, as find_package does on Linux.
  foreach(library gtest gmock)
    target_compile_options(${library} PRIVATE -Wno-error)
  endforeach()
endif()
