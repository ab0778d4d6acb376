#!/usr/bin/env bash
# Installs the build into a staging folder and builds the Debian package, then checks both: every
# file in place, icons of the size their folder says, the desktop entry, the AppStream metadata and
# the man page passing their validators, the package's Depends worked out by dpkg-shlibdeps, and
# lintian finding no error and no warning in the package (its notes for information are shown).
#   check_package.sh <build-dir> <work-dir>
set -u
build=$1
work=$2
app=org.marloven.DebugUtility
rm -rf "$work"
mkdir -p "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for tool in desktop-file-validate appstreamcli dpkg-deb dpkg-shlibdeps cpack identify man lintian; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/setup.sh installs it)"; exit 1; }
done

expected=(bin/martool
          share/applications/$app.desktop
          share/metainfo/$app.metainfo.xml
          share/man/man1/martool.1.gz
          share/doc/martool/copyright
          share/doc/martool/changelog.gz
          share/icons/hicolor/scalable/apps/$app.svg)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$app.png")
done

# cmake --install
stage=$work/stage
cmake --install "$build" --prefix "$stage" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "cmake --install"; }
for file in "${expected[@]}"; do
    [ -s "$stage/$file" ] || fail "not installed: $file"
done
extra=$(cd "$stage" && find . -type f | sed 's|^\./||' | sort | comm -23 - <(printf '%s\n' "${expected[@]}" | sort))
[ -z "$extra" ] || fail "installed but not expected: $extra"
[ -x "$stage/bin/martool" ] || fail "bin/martool is not executable"
for size in 16 22 24 32 48 64 128 256; do
    got=$(identify -format '%wx%h' "$stage/share/icons/hicolor/${size}x${size}/apps/$app.png" 2>/dev/null)
    [ "$got" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $got"
done

# The validators
desktop-file-validate "$stage/share/applications/$app.desktop" >"$work/desktop.log" 2>&1
[ $? -eq 0 ] && [ ! -s "$work/desktop.log" ] || { cat "$work/desktop.log"; fail "desktop-file-validate"; }
grep -q '^Icon=org.marloven.DebugUtility$' "$stage/share/applications/$app.desktop" || fail "the desktop entry names another icon"
appstreamcli validate --no-net --pedantic "$stage/share/metainfo/$app.metainfo.xml" >"$work/appstream.log" 2>&1 \
    || { cat "$work/appstream.log"; fail "appstreamcli validate"; }
grep -E '^[EW]:' "$work/appstream.log" && fail "appstreamcli reports errors or warnings"
man_warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$stage/share/man/man1/martool.1.gz" 2>&1 >/dev/null)
[ -z "$man_warnings" ] || fail "the man page has warnings: $man_warnings"

# The Debian package
(cd "$build" && cpack -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/deb/martool_*.deb 2>/dev/null | head -n1)
if [ -z "$deb" ]; then
    fail "no package was built"
else
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "Depends: $depends"
    for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
        [[ "$depends" == *"$lib ("* ]] || fail "Depends lacks $lib with its version"
    done
    [ "$(dpkg-deb -f "$deb" Package)" = martool ] || fail "the package is not named martool"
    listed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $NF}' | sed 's|^\./usr/||' | sort)
    [ "$listed" = "$(printf '%s\n' "${expected[@]}" | sort)" ] || fail "the package holds: $listed"
    dpkg-deb -x "$deb" "$work/unpacked"
    file -b "$work/unpacked/usr/bin/martool" | grep -q 'stripped' && ! file -b "$work/unpacked/usr/bin/martool" | grep -q 'not stripped' \
        || fail "the packaged program is not stripped"
    lintian --display-info --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
    grep -E '^[EW]: ' "$work/lintian.log" && fail "lintian reports errors or warnings"
    grep -E '^I: ' "$work/lintian.log" | sed 's/^/lintian: /'
    echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
fi

[ $failures -eq 0 ] || exit 1
echo "PASS: installed files, validators and package"
