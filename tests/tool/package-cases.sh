#!/bin/sh
# The installed tree: its layout, its tool, and the examples built against it
# through find_package and through pkg-config: the typical road over the
# core, and a program of the index and all-field libraries.
# Usage: package-cases.sh CASE BUILD_DIR PREFIX SOURCE_DIR CXX IMAGE_NAME [EXTRA_FLAGS]
set -eu
case_name=$1 build=$2 prefix=$3 source=$4 cxx=$5 image_name=$6 flags=${7:-}
fail() { echo "FAIL: $*" >&2; exit 1; }
expected='U+6F22 radical 85 + 11, total strokes 14, CID 1533, readings hàn KARA KAN'
companions_expected='85 +0: U+6C34 U+6C35 U+6C3A U+23C71; 17.0 ETLO'
fields_name=$(echo "$image_name" | sed 's/^unihan-/unihan-fields-/')
tables_name=$(echo "$image_name" | sed 's/^unihan-/unihan-core-tables-/')

libdir() { dirname "$(find "$prefix" -name 'libkelvorn_unihan.so.1' | head -n 1)"; }

case_install() {
  rm -rf "$prefix"
  cmake --install "$build" --prefix "$prefix" >/dev/null
  lib=$(libdir)
  for f in bin/unihan share/kelvorn-unihan/$image_name share/kelvorn-unihan/$tables_name \
      share/kelvorn-unihan/$fields_name; do
    [ -f "$prefix/$f" ] || fail "$f not installed"
  done
  for name in kelvorn_unihan kelvorn_unihan_app kelvorn_unihan_index kelvorn_unihan_fields; do
    [ -f "$lib/lib$name.so.1.0.0" ] && [ -L "$lib/lib$name.so.1" ] && [ -L "$lib/lib$name.so" ] ||
      fail "lib$name: library, SONAME link or namelink missing"
    readelf -d "$lib/lib$name.so.1.0.0" | grep -q "SONAME.*lib$name.so.1" || fail "$name: wrong SONAME"
  done
  # find_package, with a version, is example_cmake's.
  for target in unihan unihan_app unihan_index unihan_fields; do
    grep -q "kelvorn::$target" "$lib/cmake/KelvornUnihan/KelvornUnihanTargets.cmake" ||
      fail "kelvorn::$target is not in the package"
  done
  [ -z "$(find "$prefix" -name '*.a')" ] || fail "a static archive was installed"
  for pc in kelvorn-unihan kelvorn-unihan-app kelvorn-unihan-index kelvorn-unihan-fields; do
    [ -f "$lib/pkgconfig/$pc.pc" ] || fail "$pc.pc not installed"
  done
  for header in "$source"/include/kelvorn/*.h; do
    [ -f "$prefix/include/kelvorn/${header##*/}" ] || fail "${header##*/} not installed"
  done
  for f in LICENSE LICENSE-UNICODE; do
    [ -f "$prefix/share/doc/kelvorn-unihan/$f" ] || fail "licence $f not installed"
  done
  # (That the Python package holds no image of its own is test_install's.)
  version=$(PKG_CONFIG_PATH=$lib/pkgconfig pkg-config --variable=unicode_version kelvorn-unihan)
  [ "$image_name" = "unihan-$version.bin" ] || fail "pkg-config names Unicode $version"
}

# A prefix moved elsewhere: its tool still finds its library and both images
# from its own place (KELVORN_UNIHAN_DATA_DIR, which names another directory,
# is docs/install.md's).
case_relocated() {
  work=$build/tests/tool/relocated
  rm -rf "$work" && mkdir -p "$work"
  cmake --install "$build" --prefix "$work/first" >/dev/null
  mv "$work/first" "$work/moved"
  tool=$work/moved/bin/unihan
  env -u LD_LIBRARY_PATH -u KELVORN_UNIHAN_DATA_DIR "$tool" show 漢 | grep -Eq 'kRSUnicode +85 +11$' ||
    fail "moved prefix: no answer"
  env -u LD_LIBRARY_PATH -u KELVORN_UNIHAN_DATA_DIR "$tool" field kCangjie 漢 | grep -q ETLO ||
    fail "moved prefix: no all-field answer"
  rm -rf "$work"
}

case_example_cmake() {
  work=$build/tests/tool/example-cmake
  rm -rf "$work"
  CXXFLAGS="$flags" LDFLAGS="$flags" cmake -S "$source/examples" -B "$work" \
    -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
  cmake --build "$work" >/dev/null
  out=$("$work/typical_road")
  [ "$out" = "$expected" ] || fail "example printed: $out"
  # A file shorter than an image header is refused, not taken for an empty image.
  head -c 19 "$prefix/share/kelvorn-unihan/$image_name" >"$work/cut.bin"
  if "$work/typical_road" "$work/cut.bin" 2>/dev/null; then fail "example loaded a cut header"; fi
  CXXFLAGS="$flags" LDFLAGS="$flags" cmake -S "$source/tests/tool/companion-example" \
    -B "$work/companions" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
  cmake --build "$work/companions" >/dev/null
  out=$(env -u LD_LIBRARY_PATH "$work/companions/companions" \
        "$prefix/share/kelvorn-unihan/$image_name" "$prefix/share/kelvorn-unihan/$fields_name")
  [ "$out" = "$companions_expected" ] || fail "companion example printed: $out"
}

case_example_pkgconfig() {
  work=$build/tests/tool/example-pkgconfig
  mkdir -p "$work"
  PKG_CONFIG_PATH=$(libdir)/pkgconfig
  export PKG_CONFIG_PATH
  # shellcheck disable=SC2046,SC2086
  "$cxx" -std=c++17 $flags -o "$work/typical_road" "$source/examples/typical_road.cpp" \
    $(pkg-config --cflags --libs kelvorn-unihan)
  out=$(LD_LIBRARY_PATH=$(pkg-config --variable=libdir kelvorn-unihan) \
        "$work/typical_road" "$(pkg-config --variable=image kelvorn-unihan)")
  [ "$out" = "$expected" ] || fail "example printed: $out"
  # shellcheck disable=SC2046,SC2086
  "$cxx" -std=c++17 $flags -o "$work/companions" "$source/tests/tool/companion-example/companions.cpp" \
    $(pkg-config --cflags --libs kelvorn-unihan-index kelvorn-unihan-fields)
  data=$(dirname "$(pkg-config --variable=image kelvorn-unihan)")
  out=$(LD_LIBRARY_PATH=$(pkg-config --variable=libdir kelvorn-unihan) \
        "$work/companions" "$data/$image_name" "$data/$fields_name")
  [ "$out" = "$companions_expected" ] || fail "companion example printed: $out"
}

"case_$case_name"
echo "ok: $case_name"
