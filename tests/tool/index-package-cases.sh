#!/bin/sh
# The index library in the installed tree, and a program built against it
# through find_package and through pkg-config. Installs into its own prefix.
# Usage: index-package-cases.sh CASE BUILD_DIR WORKDIR SOURCE_DIR CXX IMAGE [EXTRA_FLAGS]
set -eu
case_name=$1 build=$2 work=$3 source=$4 cxx=$5 image=$6 flags=${7:-}
fail() { echo "FAIL: $*" >&2; exit 1; }
expected='85 +0: U+6C34 U+6C35 U+6C3A U+23C71'
prefix=$work/prefix
rm -rf "$work" && mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
lib=$(dirname "$(find "$prefix" -name 'libkelvorn_unihan_index.so.1' | head -n 1)")

case_index_install() {
  [ -f "$prefix/include/kelvorn/UnihanIndex.h" ] || fail "UnihanIndex.h not installed"
  [ -f "$lib/libkelvorn_unihan_index.so.1.0.0" ] && [ -L "$lib/libkelvorn_unihan_index.so" ] ||
    fail "index library or namelink missing"
  readelf -d "$lib/libkelvorn_unihan_index.so.1.0.0" | grep -q 'SONAME.*libkelvorn_unihan_index.so.1' ||
    fail "wrong SONAME"
  [ -f "$lib/pkgconfig/kelvorn-unihan-index.pc" ] || fail "kelvorn-unihan-index.pc not installed"
  grep -q 'kelvorn::unihan_index' "$lib/cmake/KelvornUnihan/KelvornUnihanTargets.cmake" ||
    fail "kelvorn::unihan_index is not in the package"
}

case_index_example_cmake() {
  CXXFLAGS="$flags" LDFLAGS="$flags" cmake -S "$source/tests/tool/index-example" -B "$work/example" \
    -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
  cmake --build "$work/example" >/dev/null
  out=$(env -u LD_LIBRARY_PATH "$work/example/radical_page" "$image")
  [ "$out" = "$expected" ] || fail "example printed: $out"
}

case_index_example_pkgconfig() {
  PKG_CONFIG_PATH=$lib/pkgconfig
  export PKG_CONFIG_PATH
  # shellcheck disable=SC2046,SC2086
  "$cxx" -std=c++17 $flags -o "$work/radical_page" "$source/tests/tool/index-example/radical_page.cpp" \
    $(pkg-config --cflags --libs kelvorn-unihan-index)
  out=$(LD_LIBRARY_PATH=$(pkg-config --variable=libdir kelvorn-unihan-index) \
        "$work/radical_page" "$image")
  [ "$out" = "$expected" ] || fail "example printed: $out"
}

"case_$case_name"
echo "ok: $case_name"
