# Kivra.exe and the Windows tools, statically linked: nothing to ship beside them.
enable_language(RC)
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static -static-libgcc -static-libstdc++")
target_compile_definitions(kivra_core PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

file(GLOB KIVRA_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*/win32/*.cpp)
add_executable(Kivra WIN32 ${KIVRA_WIN32_SOURCES} ${CMAKE_SOURCE_DIR}/src/app/win32/Kivra.rc)
target_link_libraries(Kivra PRIVATE kivra_core ws2_32 comctl32 shell32 ole32 uuid winmm advapi32 gdi32 user32 psapi)
target_link_options(Kivra PRIVATE -municode)
set_target_properties(Kivra PROPERTIES OUTPUT_NAME Kivra RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# Tools for the demo and the end-to-end tests.
add_executable(KeySink WIN32 ${CMAKE_SOURCE_DIR}/tools/keysink/KeySink.cpp)
target_link_libraries(KeySink PRIVATE comctl32 shell32 ws2_32 user32)
target_link_options(KeySink PRIVATE -municode)
add_executable(LightAlloyFront WIN32 ${CMAKE_SOURCE_DIR}/tools/lightalloy/LightAlloyFront.cpp)
target_link_libraries(LightAlloyFront PRIVATE user32)
target_link_options(LightAlloyFront PRIVATE -municode)
add_executable(WinControl ${CMAKE_SOURCE_DIR}/tools/wincontrol/WinControl.cpp)
target_link_libraries(WinControl PRIVATE comctl32 user32)
target_link_options(WinControl PRIVATE -municode)
set_target_properties(KeySink LightAlloyFront WinControl PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

# End-to-end tests: the real Kivra.exe under Wine.
find_program(PYTHON3 python3 REQUIRED)
file(GLOB KIVRA_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.py)
foreach(test ${KIVRA_E2E_TESTS})
  get_filename_component(name ${test} NAME_WE)
  add_test(NAME e2e.${name} COMMAND ${PYTHON3} ${test})
  set_tests_properties(e2e.${name} PROPERTIES
    ENVIRONMENT "KIVRA_BUILD=${CMAKE_BINARY_DIR};KIVRA_SOURCE=${CMAKE_SOURCE_DIR}"
    TIMEOUT 600 RESOURCE_LOCK wine)
endforeach()
