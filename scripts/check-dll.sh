#!/usr/bin/env bash
# Checks a Windows plug-in DLL: it imports only system DLLs and exports exactly VSTPluginMain,
# main and winampDSPGetHeader2, undecorated. Given an .exe (the ostinel tool), it checks the
# imports only: the static runtime leaves nothing to ship beside it but the plug-in.
set -u
dll=$1
objdump=x86_64-w64-mingw32-objdump
command -v "$objdump" >/dev/null || objdump=i686-w64-mingw32-objdump
info=$("$objdump" -p "$dll") || exit 1
imports=$(echo "$info" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
exports=$(echo "$info" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    sed -n 's/^\s*\[\s*[0-9]*\] //p' | sort)
system="advapi32.dll comctl32.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll version.dll winmm.dll ws2_32.dll"
ok=0
for dll_name in $imports; do
    case " $system " in
    *" $dll_name "*) ;;
    *) echo "check-dll: $dll imports a non-system DLL: $dll_name"; ok=1 ;;
    esac
done
expected=$(printf '%s\n' VSTPluginMain main winampDSPGetHeader2 | sort)
case "$dll" in
*.exe | *.EXE) expected=$exports ;; # a program exports nothing we rely on
esac
if [ "$exports" != "$expected" ]; then
    echo "check-dll: $dll exports:"
    echo "$exports"
    ok=1
fi
[ $ok -eq 0 ] && echo "check-dll: $dll imports $(echo $imports) and exports $(echo $exports)"
exit $ok
