# Every outside dependency, in one place. All come from Debian packages
# (scripts/packages.txt); nothing is vendored.

if(DK_WINDOWS)
  # zlib: static library of libz-mingw-w64-dev.
  set(ZLIB_USE_STATIC_LIBS ON)
  find_package(ZLIB REQUIRED)
  # GoogleTest: cross-built from the sources Debian ships in /usr/src/googletest.
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(DK_GTEST_LIBS GTest::gtest GTest::gmock)
  set(DK_GTEST_MAIN testmain)  # tests/support: failure messages in UTF-8
else()
  find_package(ZLIB REQUIRED)
  find_package(Threads REQUIRED)
  if(NOT DK_KIND STREQUAL "fuzz")
    find_package(GTest REQUIRED)
    set(DK_GTEST_LIBS GTest::gtest GTest::gmock Threads::Threads)
    set(DK_GTEST_MAIN GTest::gtest_main)
  endif()
  if(DK_KIND STREQUAL "host")
    find_package(benchmark REQUIRED)
    find_package(PNG)          # reference decoder for the PNG benchmark
  endif()
endif()
