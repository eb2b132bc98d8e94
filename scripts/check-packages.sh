#!/usr/bin/env bash
# Checks the packages scripts/package.sh made, the way a user meets them:
#   .deb     its control fields; its files and their places (dpkg -c), then unpacked into a
#            scratch root (dpkg -x): the installed tool finds the installed plug-in and maps the
#            example groove
#   .tar.gz  the same layout under one top folder; its tool finds its plug-in and maps the
#            groove to the same bytes
#   .zip     (win32, win64) one top folder with Ostinel.dll, the guide, ostinel.exe and the
#            examples; the DLL's imports/exports and bitness; under wine the unpacked
#            ostinel.exe loads the DLL beside it and maps the groove to the same bytes as on
#            Linux. 32-bit only where this machine runs 32-bit programs, else SKIPPED.
#
# Usage: check-packages.sh [PACKAGE_DIR]   (default build/packages)
# Nothing outside a temporary folder is touched (HOME and the wine prefix point into it).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
dir=$(cd "${1:-$root/build/packages}" && pwd) || exit 2
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

version=$(sed -n 's/^project(Ostinel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
guide="Ostinel User Guide.pdf"
# What every package holds besides the binaries, relative to its examples folder.
examples=(README.md drum-groove.mid melody.mid gm-to-8-pads.quorvatp gm-to-8-pads.json
    harmony-thirds.quorvatp harmony-thirds.json)

work=$(mktemp -d "${TMPDIR:-/tmp}/ostinel-packages.XXXXXX")
prefix=
cleanup() {
    [ -n "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
mkdir -p "$HOME"

errors=0
skipped=()
bad() {
    echo "check-packages: FAIL: $*"
    errors=$((errors + 1))
}
ok() { echo "check-packages: ok: $*"; }
expect() { # good-text bad-text command...: ok or bad by the command's status
    local good=$1 fault=$2
    shift 2
    if "$@"; then ok "$good"; else bad "$fault"; fi
}

pick() { # glob description: sets $picked to the one matching file
    local matches=() f IFS=$'\n' # the glob expands; blanks in the folder stay
    picked=
    for f in $1; do [ -f "$f" ] && matches+=("$f"); done
    if [ ${#matches[@]} -ne 1 ]; then
        bad "expected one $2 ($1), found ${#matches[@]}"
        return 1
    fi
    picked=${matches[0]}
}

# Every wanted path must be in the listing (one path a line); nothing may lie outside the
# allowed folders.
check_listing() { # name listing allowed-regex wanted...
    local name=$1 listing=$2 allowed=$3
    shift 3
    local missing=0 path
    for path in "$@"; do
        if ! grep -qxF "$path" <<<"$listing"; then
            bad "$name lacks $path"
            missing=1
        fi
    done
    local stray
    stray=$(grep -vE "$allowed" <<<"$listing" | grep -v '/$')
    if [ -n "$stray" ]; then
        bad "$name holds files outside its layout:"$'\n'"$stray"
        missing=1
    fi
    if [ $missing -eq 0 ]; then ok "$name: $(grep -vc '/$' <<<"$listing") files in their places"; fi
}

not_debug() { # elf-file name
    if readelf -S "$1" 2>/dev/null | grep -q '\.debug_info'; then
        bad "$2 is not stripped"
    fi
}

# Runs an unpacked Linux tool: `info` must name the plug-in beside it in the package, `map` of
# the example groove must succeed. Leaves the mapped file in $work/$name.mid.
check_linux_tool() { # name tool plugin examples-dir
    local name=$1 tool=$2 plugin=$3 ex=$4 info
    if ! info=$("$tool" info 2>&1); then
        bad "$name: ostinel info failed:"$'\n'"$info"
        return
    fi
    local binary
    binary=$(sed -n 's/^Binary: *//p' <<<"$info" | tr -d '"')
    if [ "$(realpath "$binary" 2>/dev/null)" != "$(realpath "$plugin")" ]; then
        bad "$name: the tool loaded \"$binary\", not the package's plug-in $plugin"
    else
        ok "$name: ostinel info loads $binary"
    fi
    grep -q '^Effect name: *Ostinel' <<<"$info" || bad "$name: info does not name the effect Ostinel"
    local log
    if log=$("$tool" map "$ex/drum-groove.mid" "$work/$name.mid" \
        --preset "$ex/gm-to-8-pads.quorvatp" 2>&1) && [ "$(head -c 4 "$work/$name.mid")" = MThd ]; then
        ok "$name: ostinel maps the example groove"
    else
        bad "$name: ostinel map of the example groove failed:"$'\n'"$log"
    fi
}

# --- .deb ---------------------------------------------------------------------------------
echo "== .deb"
if pick "$dir/ostinel_${version}_*.deb" .deb; then
    deb=$picked
    fields=$(dpkg-deb --field "$deb")
    field() { sed -n "s/^$1: //p" <<<"$fields"; }
    [ "$(field Package)" = ostinel ] || bad ".deb Package is \"$(field Package)\""
    [ "$(field Version)" = "$version" ] || bad ".deb Version is \"$(field Version)\", not $version"
    [ "$(field Architecture)" = "$(dpkg --print-architecture)" ] ||
        bad ".deb Architecture is \"$(field Architecture)\""
    [ "$(field Section)" = sound ] || bad ".deb Section is \"$(field Section)\", not sound"
    grep -qE '^.+ <[^ >]+@[^ >]+>$' <<<"$(field Maintainer)" ||
        bad ".deb Maintainer \"$(field Maintainer)\" is not \"Name <address>\""
    [ -n "$(field Description)" ] || bad ".deb has no Description"
    # Computed by dpkg-shlibdeps: the C library for both binaries, X11 for the plug-in.
    depends=$(field Depends)
    for lib in libc6 libx11-6; do
        grep -qE "(^|, )$lib( |,|$)" <<<"$depends" || bad ".deb Depends lacks $lib: \"$depends\""
    done
    ok ".deb fields: $(field Package) $(field Version) $(field Architecture), section" \
        "$(field Section), Depends: $depends"

    listing=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./||')
    wanted=(usr/bin/ostinel usr/lib/lxvst/Ostinel.so "usr/lib/lxvst/$guide"
        usr/share/doc/ostinel/README.md)
    for f in "${examples[@]}"; do wanted+=("usr/share/ostinel/examples/$f"); done
    check_listing .deb "$listing" \
        '^usr/(bin/ostinel|lib/lxvst/[^/]+|share/ostinel/examples/.+|share/doc/ostinel/.+)$' \
        "${wanted[@]}"
    dpkg -c "$deb" | grep -E ' \./usr/(bin|lib/lxvst)/.' | sed 's/^/    /'

    scratch=$work/deb-root
    if dpkg -x "$deb" "$scratch"; then
        not_debug "$scratch/usr/lib/lxvst/Ostinel.so" ".deb Ostinel.so"
        not_debug "$scratch/usr/bin/ostinel" ".deb ostinel"
        [ -x "$scratch/usr/bin/ostinel" ] || bad ".deb: usr/bin/ostinel is not executable"
        check_linux_tool deb "$scratch/usr/bin/ostinel" "$scratch/usr/lib/lxvst/Ostinel.so" \
            "$scratch/usr/share/ostinel/examples"
    else
        bad "dpkg -x $deb failed"
    fi
fi

# --- .tar.gz --------------------------------------------------------------------------------
echo "== .tar.gz"
if pick "$dir/Ostinel-${version}-linux-*.tar.gz" .tar.gz; then
    tgz=$picked
    top=$(basename "$tgz" .tar.gz)
    listing=$(tar -tzf "$tgz")
    wanted=("$top/bin/ostinel" "$top/lib/lxvst/Ostinel.so" "$top/lib/lxvst/$guide"
        "$top/share/doc/ostinel/README.md")
    for f in "${examples[@]}"; do wanted+=("$top/share/ostinel/examples/$f"); done
    check_listing .tar.gz "$listing" \
        "^$top/(bin/ostinel|lib/lxvst/[^/]+|share/ostinel/examples/.+|share/doc/ostinel/.+)$" \
        "${wanted[@]}"
    mkdir -p "$work/tgz"
    if tar -xzf "$tgz" -C "$work/tgz"; then
        t=$work/tgz/$top
        not_debug "$t/lib/lxvst/Ostinel.so" ".tar.gz Ostinel.so"
        not_debug "$t/bin/ostinel" ".tar.gz ostinel"
        check_linux_tool tgz "$t/bin/ostinel" "$t/lib/lxvst/Ostinel.so" "$t/share/ostinel/examples"
        if [ -f "$work/deb.mid" ] && [ -f "$work/tgz.mid" ]; then
            expect ".tar.gz and .deb map to the same bytes" \
                ".tar.gz and .deb tools map the groove differently" cmp -s "$work/deb.mid" "$work/tgz.mid"
        fi
        if [ -f "$work/deb-root/usr/lib/lxvst/$guide" ] && [ -f "$t/lib/lxvst/$guide" ]; then
            cmp -s "$work/deb-root/usr/lib/lxvst/$guide" "$t/lib/lxvst/$guide" ||
                bad "the .tar.gz and the .deb hold different guides"
        fi
    else
        bad "cannot unpack $tgz"
    fi
fi

# --- Windows zips ---------------------------------------------------------------------------
# Runs the zip's ostinel.exe in a private wine prefix, from the unpacked folder.
wine_run() { # arch folder args...
    local arch=$1 folder=$2
    shift 2
    (cd "$folder" && timeout -k 10 300 "$here/wine-prefix.sh" "$arch" "$prefix" -- ./ostinel.exe "$@") \
        2>&1 | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

check_zip() { # arch
    local arch=$1 zip top
    echo "== $arch .zip"
    pick "$dir/Ostinel-${version}-$arch.zip" "$arch zip" || return
    zip=$picked
    top=Ostinel-${version}-$arch
    local listing
    listing=$(unzip -Z1 "$zip") || {
        bad "cannot list $zip"
        return
    }
    local wanted=("$top/Ostinel.dll" "$top/$guide" "$top/ostinel.exe")
    for f in "${examples[@]}"; do wanted+=("$top/examples/$f"); done
    check_listing "$arch .zip" "$listing" "^$top/(Ostinel\.dll|$guide|ostinel\.exe|examples/.+)$" \
        "${wanted[@]}"

    mkdir -p "$work/$arch"
    unzip -q "$zip" -d "$work/$arch" || {
        bad "cannot unpack $zip"
        return
    }
    local t=$work/$arch/$top
    [ -f "$t/Ostinel.dll" ] || return
    local format expected=pei-i386
    [ "$arch" = win64 ] && expected=pei-x86-64
    format=$(x86_64-w64-mingw32-objdump -f "$t/Ostinel.dll" | sed -n 's/.*file format //p')
    expect "$arch Ostinel.dll is $format" "$arch Ostinel.dll is $format, not $expected" \
        [ "$format" = "$expected" ]
    if bash "$here/check-dll.sh" "$t/Ostinel.dll" >/dev/null; then
        ok "$arch Ostinel.dll imports and exports"
    else
        bad "$arch Ostinel.dll fails check-dll.sh"
    fi
    local exe
    for exe in Ostinel.dll ostinel.exe; do
        if [ -f "$t/$exe" ] && x86_64-w64-mingw32-objdump -h "$t/$exe" | grep -q '\.debug_'; then
            bad "$arch $exe is not stripped"
        fi
    done
    if [ -f "$work/deb-root/usr/lib/lxvst/$guide" ] && [ -f "$t/$guide" ]; then
        expect "$arch guide is the Linux build's" "the $arch zip holds another guide than the .deb" \
            cmp -s "$work/deb-root/usr/lib/lxvst/$guide" "$t/$guide"
    fi
    [ -f "$t/ostinel.exe" ] || return

    if [ "$arch" = win32 ] && ! ostinel_can_run_32bit; then
        echo "check-packages: SKIPPED the win32 zip under wine: $(ostinel_no_32bit_reason)"
        skipped+=("win32 zip under wine")
        return
    fi
    prefix=$work/wine-$arch
    if ! "$here/wine-prefix.sh" "$arch" "$prefix" 2>"$work/wineboot-$arch.log"; then
        cat "$work/wineboot-$arch.log"
        bad "no $arch wine prefix"
        return
    fi
    local info
    if info=$(wine_run "$arch" "$t" info); then
        if grep -qiE "^Binary: .*[\\\\/]${top}[\\\\/]Ostinel\\.dll\"?\$" <<<"$info" &&
            grep -q '^Effect name: *Ostinel' <<<"$info"; then
            ok "$arch: ostinel.exe info loads $(sed -n 's/^Binary: *//p' <<<"$info")"
        else
            bad "$arch: ostinel.exe info did not load the zip's DLL:"$'\n'"$info"
        fi
    else
        bad "$arch: ostinel.exe info failed:"$'\n'"$info"
    fi
    local log
    if log=$(wine_run "$arch" "$t" map 'examples\drum-groove.mid' mapped.mid \
        --preset 'examples\gm-to-8-pads.quorvatp') && [ -f "$t/mapped.mid" ]; then
        if [ ! -f "$work/deb.mid" ]; then
            ok "$arch: ostinel.exe maps the example groove (no Linux result to compare)"
        elif cmp -s "$t/mapped.mid" "$work/deb.mid"; then
            ok "$arch: ostinel.exe maps the example groove to the same bytes as Linux"
        else
            bad "$arch: ostinel.exe maps the groove differently from the Linux tool"
        fi
    else
        bad "$arch: ostinel.exe map failed:"$'\n'"$log"
    fi
    WINEPREFIX=$prefix wineserver -k 2>/dev/null
    rm -rf "$prefix"
    prefix=
}

check_zip win32
check_zip win64

echo
for s in "${skipped[@]}"; do echo "check-packages: skipped: $s"; done
if [ $errors -ne 0 ]; then
    echo "check-packages: $errors problem(s) in $dir"
    exit 1
fi
echo "check-packages: all packages in $dir are complete"
