#!/usr/bin/env bash
# Checks the portable zip, then installs the MSI in a fresh Wine prefix of this test's own and
# checks what a station's PC would get: the files, the Start-menu shortcut, the .wmx file type,
# the installed program opened with a .wmx through that type, an upgrade in place by a
# higher-versioned MSI built from the same source, and an uninstall that leaves nothing of its
# own but keeps the user's .wmx file. The prefix has the width of the package: x86 under the
# 32-bit Wine, x64 under the 64-bit one (the width comes from the build tree, WMX_WINE_ARCH).
#   install-test.sh <install_probe.exe> <wmx-VERSION-ARCH.msi> <wmx.wxs> <ARCH> <nm>
set -euo pipefail
probe="$1" msi="$2" wxs="$3" arch="$4" nm="$5"
build="$(cd "$(dirname "$msi")" && pwd)"
work="$build/installer-test"
rm -rf "$work"
mkdir -p "$work/scratch"
export WMX_OWN_WINEPREFIX="$work/prefix"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
# No desktop menu entries or file types on the Linux side, no runtime installers' dialogs.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
finish() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    # The prefix takes some 600 MB: kept only when something failed.
    [ "$failures" -ne 0 ] || rm -rf "$WMX_WINEPREFIX"
}
trap finish EXIT

wine wineboot -i >/dev/null 2>&1
wineserver -w
own_user_folders
drive="$WMX_WINEPREFIX/drive_c"
user="$(id -un)"
# The Program Files folder of the prefix's own width, where a package of that width installs.
program_files="$(wine cmd /c 'echo %ProgramFiles%' 2>/dev/null | tr -d '\r')"
installed_win="$program_files\Kavra Tintra"
installed="$(wine winepath -u "$installed_win" 2>/dev/null | tr -d '\r')"
name="Kavra Tintra"
[ "$arch" = x86 ] || name="Kavra Tintra (64-bit)"
# Windows puts a per-machine package's shortcut in the Start menu of all users; Wine's msiexec
# resolves ProgramMenuFolder to the installing user's Start menu whatever ALLUSERS says. For
# that the package's own tables stand in: a per-machine package with its shortcut in
# ProgramMenuFolder.
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/$name.lnk"
wine_shortcut="$drive/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/$name.lnk"
classes='HKLM\Software\Classes'
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
reg_default() { wine reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'; }
msiexec() { (cd "$work/scratch" && wine msiexec "$@" >/dev/null 2>&1); }
# Uninstall entries of the product, by name: "<product code> <version>" per line.
products() {
    wine reg query "$uninstall" /s 2>/dev/null | tr -d '\r' | awk -v product="$name" '
        /^HKEY/ { key = $0; sub(/.*\\/, "", key); name = ""; version = "" }
        /DisplayName/ { name = $0; sub(/.*REG_SZ */, "", name) }
        /DisplayVersion/ { version = $3 }
        name == product && version != "" { print key, version; name = "" }'
}

echo "== portable zip"
version="$(basename "$msi" "-$arch.msi")"
version="${version#wmx-}"
unzip -q "$build/wmx-$version-$arch.zip" -d "$work/portable"
folder="$work/portable/wmx-$version-$arch"
[ "$(ls "$folder" | tr '\n' ' ')" = "README.txt protokol.bmp wmx.exe " ] ||
    fail "the zip holds: $(ls -R "$work/portable" | tr '\n' ' ')"
cmp -s "$folder/wmx.exe" "$build/wmx.exe" && cmp -s "$folder/protokol.bmp" "$build/protokol.bmp" ||
    fail "the zip's files differ from the build's"
# The README's lines end in CR LF, as Notepad needs: every LF follows a CR, no CR stands alone, and
# the last line is ended too.
readme="$folder/README.txt"
lf="$(tr -cd '\n' <"$readme" | wc -c)" cr="$(tr -cd '\r' <"$readme" | wc -c)"
crlf="$(grep -c $'\r$' "$readme" || true)"
[ "$lf" -gt 1 ] && [ "$crlf" -eq "$lf" ] && [ "$cr" -eq "$lf" ] && [ -z "$(tail -c 1 "$readme")" ] ||
    fail "README.txt: $lf LF, $cr CR, $crlf lines ended by CR LF"
"$nm" "$build/wmx.exe" 2>&1 | grep -q "no symbols" || fail "wmx.exe is not stripped"

echo "== install $(basename "$msi")"
msiexec /i "$(wine winepath -w "$msi" 2>/dev/null | tr -d '\r')" /qn /l*v install.log ||
    fail "msiexec /i exited with $?"
cmp -s "$installed/wmx.exe" "$build/wmx.exe" || fail "wmx.exe not installed as built"
cmp -s "$installed/protokol.bmp" "$build/protokol.bmp" || fail "protokol.bmp not installed"
[ "$(products | awk '{print $2}')" = "$version" ] || fail "product $version not registered"

echo "== shortcut"
table() { msiinfo export "$msi" "$1" | tr -d '\r'; }
table Property | grep -qx $'ALLUSERS\t1' || fail "not a per-machine package"
table Property | grep -qx $'USERSTARTFOLDER\t%USERPROFILE%' || fail "no per-user start folder"
table Shortcut | awk -F'\t' -v name="$name" '$1 == "StartMenuShortcut" && $2 == "ProgramMenuFolder" &&
    $3 == name && $12 == "USERSTARTFOLDER" { found = 1 } END { exit !found }' ||
    fail "no shortcut \"$name\" in ProgramMenuFolder starting in USERSTARTFOLDER"
[ -f "$shortcut" ] || shortcut="$wine_shortcut"
if [ -f "$shortcut" ]; then
    mapfile -t link < <(wine "$probe" shortcut "$(wine winepath -w "$shortcut" 2>/dev/null |
        tr -d '\r')" | tr -d '\r')
    [ "${link[0]}" = "$installed_win\wmx.exe" ] || fail "shortcut target ${link[0]}"
    # Windows writes the start folder as the package gives it; Wine's msiexec writes only folders
    # of the package's Directory table and leaves this one empty (the tables are checked above).
    case "${link[1]}" in
    '%USERPROFILE%') ;;
    '') echo "note: Wine's msiexec wrote no working folder into the shortcut" ;;
    *) fail "shortcut starts in '${link[1]}'" ;;
    esac
    icon="$(wine winepath -u "${link[2]}" 2>/dev/null | tr -d '\r')"
    [ -n "${link[2]}" ] && cmp -s "$icon" "$build/wmx.ico" || fail "shortcut icon '${link[2]}'"
else
    fail "no Start-menu shortcut"
fi

echo "== file type"
[ "$(reg_default "$classes\\.wmx")" = KavraTintra.Measurements ] || fail ".wmx not registered"
[ "$(reg_default "$classes\\KavraTintra.Measurements\\shell\\open\\command")" = \
    "\"$installed_win\\wmx.exe\" \"%1\"" ] || fail "no open command for .wmx"
[ "$(reg_default "$classes\\KavraTintra.Measurements\\DefaultIcon")" = \
    "\"$installed_win\\wmx.exe\",0" ] || fail "no icon for .wmx"

echo "== a .wmx opened through its type"
documents="$drive/users/$user/Documents"
# The prefix's own: nothing the test saves there reaches the real home folder.
[ -d "$documents" ] && [ ! -L "$documents" ] || fail "Documents leads out of the prefix"
"$WMX_BUILD/native/test-rig/sample-config/sample-config" "$documents/station.wmx"
# Started from a folder without "config.wmx", as Explorer starts it.
customer="$(cd "$work/scratch" &&
    wine "$probe" open 'C:\users\'"$user"'\Documents\station.wmx' | tr -d '\r')" || true
[ "$customer" = "Stacja Kontroli Pojazdow nr 3" ] || fail "first field shows '$customer'"

echo "== upgrade"
next="${version%.*}.$((${version##*.} + 1))"
(cd "$build" && wixl --arch "$arch" -D Arch="$arch" -D Version="$next" -D Exe=wmx.exe \
    -D Form=protokol.bmp -D Icon=wmx.ico -o "$work/wmx-$next.msi" "$wxs")
msiexec /i "$(wine winepath -w "$work/wmx-$next.msi" 2>/dev/null | tr -d '\r')" /qn \
    /l*v upgrade.log || fail "msiexec /i of $next exited with $?"
[ "$(products | awk '{print $2}')" = "$next" ] ||
    fail "after the upgrade the products are: $(products | tr '\n' ';')"
[ -f "$installed/wmx.exe" ] && [ -f "$shortcut" ] || fail "files gone after the upgrade"

echo "== uninstall"
msiexec /x "$(wine winepath -w "$work/wmx-$next.msi" 2>/dev/null | tr -d '\r')" /qn \
    /l*v uninstall.log || fail "msiexec /x exited with $?"
[ ! -e "$installed" ] || fail "left behind: $(ls -A "$installed" | tr '\n' ' ') in Program Files"
[ ! -e "$shortcut" ] || fail "shortcut left behind"
for key in "$classes\\.wmx" "$classes\\KavraTintra.Measurements"; do
    ! wine reg query "$key" >/dev/null 2>&1 || fail "key $key left behind"
done
[ -z "$(products)" ] || fail "still registered: $(products)"
[ -f "$documents/station.wmx" ] || fail "the user's .wmx file was removed"

[ "$failures" -eq 0 ] && echo "installer test passed"
[ "$failures" -eq 0 ]
