#!/usr/bin/env bash
# Ring: tests. The library as others get it: the static one of this build
# installed into a prefix of its own, examples/cpp built against it with
# CMake and with pkg-config, and a shared one built alone, installed and used
# by the example too. Checks what is installed, file for file, and that the
# shared library exports nothing beyond the public interface.
# Usage: package_test.sh SOURCE_DIR BUILD_DIR WORK_DIR CMAKE GENERATOR MAKE_PROGRAM CXX
set -uo pipefail
src=$1 build=$2 work=$3 cmake=$4 generator=$5 make_program=$6 cxx=$7
# One compiler at a time: ctest gives this test one of its slots, and the
# timing tests beside it need theirs.
jobs=${TAPWELL_PACKAGE_JOBS:-1}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$work"
mkdir -p "$work"

# The files under a prefix, without the headers, one a line.
installed() { (cd "$1" && find . -type f -o -type l | sed 's|^\./||' | grep -v '^include/' | sort); }
headers_match() {
    diff <(cd "$src/include/tapwell" && ls -- *.hpp | sort) <(cd "$1/include/tapwell" && ls | sort) >/dev/null ||
        fail "$1: the installed headers are not include/tapwell/*.hpp"
}
config_files='lib/cmake/Tapwell/TapwellConfig.cmake
lib/cmake/Tapwell/TapwellConfigVersion.cmake
lib/cmake/Tapwell/TapwellTargets-CONFIG.cmake
lib/cmake/Tapwell/TapwellTargets.cmake'

# example NAME PREFIX: the example built with CMake against PREFIX; runs it
# into $work/NAME.out.
example() {
    local name=$1 prefix=$2
    "$cmake" -S "$src/examples/cpp" -B "$work/$name" -G "$generator" -DCMAKE_MAKE_PROGRAM="$make_program" \
        -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefix" >"$work/$name.log" 2>&1 &&
        "$cmake" --build "$work/$name" >>"$work/$name.log" 2>&1 ||
        { cat "$work/$name.log"; fail "$name: the example does not build"; return 1; }
    "$work/$name/tapwell_example" >"$work/$name.out" || fail "$name: the example failed"
}

# The static library of this build.
static=$work/static
"$cmake" --install "$build" --prefix "$static" >/dev/null || fail "cmake --install of the build"
config=$(basename "$static"/lib/cmake/Tapwell/TapwellTargets-*.cmake .cmake)
config=${config#TapwellTargets-}
expected=$(printf 'lib/libtapwell.a\n%s\nlib/pkgconfig/tapwell.pc\n' "${config_files//CONFIG/$config}" | sort)
[ "$(installed "$static")" = "$expected" ] || fail "static: installed $(installed "$static" | tr '\n' ' ')"
headers_match "$static"
example cmake-static "$static"

# The same with pkg-config and nothing else.
pc_dir=$(dirname "$(find "$static" -name tapwell.pc)")
flags=$(PKG_CONFIG_PATH=$pc_dir pkg-config --cflags --libs tapwell) || fail "pkg-config finds no tapwell"
# shellcheck disable=SC2086  # the flags are split on purpose
"$cxx" -std=c++20 "$src/examples/cpp/main.cpp" $flags -o "$work/pkg-config-static" ||
    fail "the example does not build with pkg-config's flags: $flags"
"$work/pkg-config-static" >"$work/pkg-config-static.out" || fail "pkg-config-static: the example failed"
cmp -s "$work/cmake-static.out" "$work/pkg-config-static.out" || fail "the two builds of the example disagree"
grep -q "primitive: yes, period 32767, the preset's: yes" "$work/cmake-static.out" ||
    fail "the example's PRBS15 line: $(head -n 2 "$work/cmake-static.out" | tail -n 1)"

# A version of another major is not this one.
mkdir -p "$work/version-2"
printf 'cmake_minimum_required(VERSION 3.20)\nproject(v LANGUAGES CXX)\nfind_package(Tapwell 2.0 REQUIRED)\n' \
    >"$work/version-2/CMakeLists.txt"
if "$cmake" -S "$work/version-2" -B "$work/version-2/build" -G "$generator" -DCMAKE_MAKE_PROGRAM="$make_program" \
    -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$static" >/dev/null 2>&1; then
    fail "find_package(Tapwell 2.0) found version 1"
fi

# The shared library, built alone.
shared=$work/shared
"$cmake" -S "$src" -B "$work/shared-build" -G "$generator" -DCMAKE_MAKE_PROGRAM="$make_program" -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON >"$work/shared-build.log" 2>&1 &&
    "$cmake" --build "$work/shared-build" -j "$jobs" >>"$work/shared-build.log" 2>&1 &&
    "$cmake" --install "$work/shared-build" --prefix "$shared" >/dev/null ||
    { tail -n 30 "$work/shared-build.log"; fail "the shared library does not build or install"; }
version=$(sed -n 's/^project(Tapwell VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
expected=$(printf 'lib/libtapwell.so\nlib/libtapwell.so.%s\nlib/libtapwell.so.%s\n%s\nlib/pkgconfig/tapwell.pc\n' \
    "${version%%.*}" "$version" "${config_files//CONFIG/release}" | sort)
[ "$(installed "$shared")" = "$expected" ] || fail "shared: installed $(installed "$shared" | tr '\n' ' ')"
headers_match "$shared"
# Every symbol of ours that it exports is named in the public headers.
nm -D --defined-only -C "$shared/lib/libtapwell.so" >"$work/exports" 2>/dev/null || fail "nm cannot read libtapwell.so"
while read -r name; do
    grep -qw -- "$name" "$src"/include/tapwell/*.hpp || fail "libtapwell.so exports tapwell::$name"
done < <(sed -n 's/^[0-9a-f]* [A-Za-z] \(typeinfo name for \|typeinfo for \|vtable for \)\{0,1\}tapwell::\([A-Za-z_0-9]*\).*/\2/p' \
    "$work/exports" | sort -u)
grep -q ' tapwell::Polynomial::parse' "$work/exports" || fail "libtapwell.so does not export Polynomial::parse"
if example cmake-shared "$shared"; then
    needed=$(readelf -d "$work/cmake-shared/tapwell_example")
    grep -q 'NEEDED.*libtapwell\.so' <<<"$needed" ||
        fail "the shared build of the example does not load libtapwell.so"
    cmp -s "$work/cmake-static.out" "$work/cmake-shared.out" || fail "the static and shared examples disagree"
fi

if [ "$failures" -eq 0 ]; then
    cat "$work/cmake-static.out"
    rm -rf "$work"
    echo "package: all checks passed"
fi
[ "$failures" -eq 0 ]
