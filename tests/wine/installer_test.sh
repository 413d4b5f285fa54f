#!/usr/bin/env bash
# The installer and uninstaller under Wine, silent as in a scripted install:
# for win32 the shipping i686 installer, for win64 the same script built
# for x86_64 with the x86_64 Lumetra.exe (a test-only installer).
source "$(dirname "$0")/lib/load.sh" "$@"
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumetra'

start_display
new_prefix
dir=$(installed_dir)
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Lumetra.lnk"
# The entry in the registry view of the installer's architecture.
uninstall_value() {
    wine reg query "$UNINSTALL_KEY" /v "$1" /reg:$VIEW 2>/dev/null | tr -d '\r' |
        awk -v v="$1" '$1 == v { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}

check "the installer runs silently" wine "$SETUP" /S
check "Lumetra.exe is installed under $PROGRAM_FILES" test -f "$dir/Lumetra.exe"
check "the installed program is the $ARCH build" cmp -s "$dir/Lumetra.exe" "$EXE"
check "the uninstaller is installed beside it" test -f "$dir/Uninstall.exe"
check "the Start-menu shortcut exists" test -f "$shortcut"
check "Add/Remove Programs lists Lumetra" equals "$(uninstall_value DisplayName)" "Lumetra"
check "with version $VERSION" equals "$(uninstall_value DisplayVersion)" "$VERSION"
check "with the program's icon" equals "$(uninstall_value DisplayIcon)" "$PROGRAM_FILES\\Lumetra\\Lumetra.exe,0"
check "and a silent uninstall command" equals "$(uninstall_value QuietUninstallString)" \
    "\"$PROGRAM_FILES\\Lumetra\\Uninstall.exe\" /S"

EXE="$dir/Lumetra.exe"
check "the installed program shows its window" start_lumetra
exit_lumetra
check "the program saved its setting" equals "$(country_stored)" 4
import -window root "$ARTIFACTS/installed.png" 2>/dev/null

# The uninstaller copies itself away to delete its own file: wait for it.
uninstall() { wine "$dir/Uninstall.exe" /S; wait_until 20 test ! -e "$dir"; }
other_value() { wine reg query "$COUNTRY_KEY" /v Other /reg:$VIEW 2>/dev/null | tr -d '\r' | awk '$1 == "Other" { print $3 }'; }
settings_key_gone() { ! wine reg query "$COUNTRY_KEY" /reg:$VIEW >/dev/null 2>&1; }

# The key is named for the camera's maker: other software for the camera
# may keep its values there too.
wine reg add "$COUNTRY_KEY" /v Other /d kept /f /reg:$VIEW >/dev/null 2>&1
check "the uninstaller removes the program's folder" uninstall
check "and the shortcut" test ! -e "$shortcut"
check "and the Add/Remove Programs entry" equals "$(uninstall_value DisplayName)" ""
check "and the setting" equals "$(country_stored)" "<none>"
check "but not another program's value under the same key" equals "$(other_value)" kept

wine reg delete "$COUNTRY_KEY" /v Other /f /reg:$VIEW >/dev/null 2>&1
wine "$SETUP" /S
country_set REG_SZ 4
check "an uninstall where the key held only the setting" uninstall
check "removes the key too" settings_key_gone
finish
