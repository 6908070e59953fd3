# The portable logic against the recording fake, tested with GoogleTest.
find_package(GTest REQUIRED)
include(GoogleTest)

if(KIVRA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

file(GLOB KIVRA_FAKE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*/fake/*.cpp ${CMAKE_SOURCE_DIR}/src/*/headless/*.cpp)
add_library(kivra_fake STATIC ${KIVRA_FAKE_SOURCES})
target_link_libraries(kivra_fake PUBLIC kivra_core)

file(GLOB KIVRA_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(kivra_tests ${KIVRA_TEST_SOURCES})
target_link_libraries(kivra_tests PRIVATE kivra_fake GTest::gtest GTest::gtest_main)
target_include_directories(kivra_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/native)
gtest_discover_tests(kivra_tests DISCOVERY_TIMEOUT 60)

file(GLOB KIVRA_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
if(KIVRA_BENCH_SOURCES)
  find_package(benchmark REQUIRED)
  add_executable(kivra_bench ${KIVRA_BENCH_SOURCES})
  target_link_libraries(kivra_bench PRIVATE kivra_fake benchmark::benchmark)
endif()

# The X client that the native reference benchmark (irxevent) sends its keys to; optional, so the
# build still works on a machine without X11 headers.
find_package(X11)
if(X11_FOUND)
  enable_language(C)
  add_executable(xkeywatch ${CMAKE_SOURCE_DIR}/tools/xkeywatch/XKeyWatch.c)
  target_link_libraries(xkeywatch PRIVATE X11::X11)
endif()
