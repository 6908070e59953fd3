# libFuzzer targets for every reader of outside input, built with clang, ASan and UBSan.
# Configure with: CXX=clang++ cmake -S . -B build/fuzz -DKIVRA_FUZZ=ON
set(KIVRA_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g)
target_compile_options(kivra_core PRIVATE ${KIVRA_FUZZ_FLAGS})
file(GLOB KIVRA_FAKE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*/fake/*.cpp ${CMAKE_SOURCE_DIR}/src/*/headless/*.cpp)
add_library(kivra_fake STATIC ${KIVRA_FAKE_SOURCES})
target_link_libraries(kivra_fake PUBLIC kivra_core)
target_compile_options(kivra_fake PRIVATE ${KIVRA_FUZZ_FLAGS})

file(GLOB KIVRA_FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/fuzz_*.cpp)
foreach(source ${KIVRA_FUZZ_TARGETS})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE kivra_fake)
  target_compile_options(${name} PRIVATE ${KIVRA_FUZZ_FLAGS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
endforeach()
