#!/usr/bin/env bash
# Release archives. Builds the committed tree (HEAD) afresh, natively and with
# MinGW-w64, and writes into dist/:
#   Tapwell-<version>-windows-x64.zip       Tapwell.exe, tapwell-cli.exe, README.txt
#   tapwell-cli-<version>-linux-x64.tar.gz  tapwell-cli, README.txt
# each with a .sha256 beside it (sha256sum -c checks it). The version is the
# project's (the top CMakeLists.txt). The same commit packaged in any two
# folders gives the same bytes: no time stamps in the executables, no build
# paths, archive times from the commit's date (or SOURCE_DATE_EPOCH), sorted
# names, fixed owners and modes.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/install-deps.sh" git cmake ninja-build g++ libcli11-dev g++-mingw-w64-x86-64 zip
jobs=${TAPWELL_JOBS:-2}

work="$root/build/package"
dist="$root/dist"
rm -rf "$work"
mkdir -p "$work/src" "$dist"
commit="$(git -C "$root" rev-parse HEAD)"
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
    echo "Note: uncommitted changes are left out; packaging commit $commit."
fi
git -C "$root" archive --format=tar "$commit" | tar -x -C "$work/src"
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct "$commit")}"

# Every path under $work is written as /tapwell, wherever the clone is.
flags="-ffile-prefix-map=$work=/tapwell"
build() {  # build DIR LINKER-FLAGS "TARGETS" CMAKE-ARGS...
    local dir=$1 link=$2 targets=$3
    shift 3
    cmake -S "$work/src" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAPWELL_TESTS=OFF \
        -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$link" "$@" >/dev/null
    # shellcheck disable=SC2086  # the targets are split on purpose
    ninja -C "$dir" -j "$jobs" $targets >/dev/null
}
echo "Building tapwell-cli for Linux..."
build "$work/linux" "-s -static-libstdc++ -static-libgcc" tapwell-cli
echo "Building Tapwell.exe and tapwell-cli.exe..."
build "$work/windows" "-s -Wl,--no-insert-timestamp" "Tapwell tapwell-cli" \
    -DCMAKE_TOOLCHAIN_FILE="$work/src/cmake/toolchain-mingw.cmake"

cli="$work/linux/cli/tapwell-cli"
version="$("$cli" --version)"
version="${version#tapwell-cli }"
glibc="$(objdump -T "$cli" | grep -o 'GLIBC_[0-9.]*' | sed 's/GLIBC_//' | sort -V | tail -n 1)"

# stage_readme TEMPLATE OUT [crlf]: the README with its version filled in.
stage_readme() {
    sed -e "s/@VERSION@/$version/g" -e "s/@GLIBC@/$glibc/g" "$work/src/packaging/$1" >"$2"
    if [ "${3:-}" = crlf ]; then sed -i 's/$/\r/' "$2"; fi
}
stage="$work/stage"
windows="Tapwell-$version-windows-x64"
linux="tapwell-cli-$version-linux-x64"
mkdir -p "$stage/$windows" "$stage/$linux"
cp "$work/windows/shell/Tapwell.exe" "$work/windows/cli/tapwell-cli.exe" "$stage/$windows/"
stage_readme README-windows.txt "$stage/$windows/README.txt" crlf
cp "$cli" "$stage/$linux/"
stage_readme README-linux.txt "$stage/$linux/README.txt"
chmod 0755 "$stage/$windows" "$stage/$linux" "$stage/$windows"/*.exe "$stage/$linux/tapwell-cli"
chmod 0644 "$stage"/*/README.txt
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

rm -f "$dist/$windows.zip" "$dist/$linux.tar.gz"
# zip keeps local times: UTC makes them the same everywhere. -X leaves out
# owners and extra time fields, -D the directory entry.
(cd "$stage" && find "$windows" -type f | LC_ALL=C sort |
    TZ=UTC zip -X -D -q -9 "$dist/$windows.zip" -@)
tar -C "$stage" --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner \
    --format=gnu -cf - "$linux" | gzip -9 -n >"$dist/$linux.tar.gz"
(cd "$dist" && sha256sum "$windows.zip" >"$windows.zip.sha256" &&
    sha256sum "$linux.tar.gz" >"$linux.tar.gz.sha256")
echo "Packaged commit $commit (version $version):"
(cd "$dist" && cat "$windows.zip.sha256" "$linux.tar.gz.sha256")
