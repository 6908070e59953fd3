# Installs what the build and the tests need on a Debian machine, once. Sourced by the scripts.
kivra_need_packages() {
    local missing=()
    command -v cmake >/dev/null || missing+=(cmake)
    command -v g++ >/dev/null || missing+=(g++)
    command -v clang++ >/dev/null || missing+=(clang)
    ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || missing+=(libclang-rt-dev)
    command -v python3 >/dev/null || missing+=(python3)
    [ -f /usr/include/gtest/gtest.h ] || missing+=(libgtest-dev)
    [ -f /usr/include/benchmark/benchmark.h ] || missing+=(libbenchmark-dev)
    command -v i686-w64-mingw32-g++-win32 >/dev/null || missing+=(g++-mingw-w64-i686)
    command -v Xvfb >/dev/null || missing+=(xvfb)
    command -v import >/dev/null || missing+=(imagemagick)
    command -v xwd >/dev/null || missing+=(x11-apps)
    command -v irxevent >/dev/null || missing+=(lirc-x)
    [ -f /usr/include/X11/Xlib.h ] || missing+=(libx11-dev)
    local need_wine=0
    command -v wine >/dev/null || need_wine=1
    dpkg -s wine32:i386 >/dev/null 2>&1 || need_wine=1
    if [ ${#missing[@]} -eq 0 ] && [ $need_wine -eq 0 ]; then return 0; fi

    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]} $([ $need_wine -eq 1 ] && echo wine wine32:i386)" >&2
    if [ $need_wine -eq 1 ]; then
        $sudo dpkg --add-architecture i386
        missing+=(wine wine32:i386)
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}
