# The test-only stand-ins for cfgmgr32.dll and avicap32.dll
# (tests/wine/standins): installing them in $WINEPREFIX and steering them
# through their control files (the formats are in standins.h).

standins_files() { echo "$WINEPREFIX/drive_c/standins"; }

# The functions a stand-in implements itself, NAME@ARGBYTES a line.
standin_functions() { # dll
    awk -v dll="$1" '$1 == dll { for (i = 2; i <= NF; i++) print $i }' "$ROOT/tests/wine/standins/implemented.txt"
}

# Writes a control file by a rename, so the stand-ins never read half of it.
standins_write() { # name, lines...
    local name=$1 dir
    shift
    dir=$(standins_files)
    mkdir -p "$dir"
    if (($#)); then printf '%s\n' "$@"; fi >"$dir/.$name.new" && mv -f "$dir/.$name.new" "$dir/$name"
}

# Both architectures' stand-ins, taken instead of Wine's by DLL overrides.
install_standins() {
    local arch dll system
    for arch in win64:system32 win32:syswow64; do
        system=$WINEPREFIX/drive_c/windows/${arch#*:}
        # Renamed into place: a process still running keeps the file it maps.
        for dll in cfgmgr32 avicap32; do
            cp "$ROOT/build/${arch%%:*}/standins/$dll.dll" "$system/.$dll.new" &&
                mv -f "$system/.$dll.new" "$system/$dll.dll" || return 1
        done
    done
    wine reg add 'HKCU\Software\Wine\DllOverrides' /v cfgmgr32 /d native /f /reg:64 >/dev/null 2>&1 &&
        wine reg add 'HKCU\Software\Wine\DllOverrides' /v avicap32 /d native /f /reg:64 >/dev/null 2>&1 || return 1
    rm -f "$(standins_files)/devtree.txt"
    capture_drivers_set
    capture_connects 1
    capture_log_clear
}

# --- The device tree ------------------------------------------------------------------
devtree_set() { standins_write devtree.txt "$@"; } # node lines: DEPTH|driver=...|desc=...|hwid=...
CAMERA_NODE='driver={6bdd1fc6-810f-11d0-bec7-08002be2092f}\0000|desc=USB Video Device|hwid=USB\VID_0AC8&PID_0302&REV_0100|hwid=USB\VID_0AC8&PID_0302'
# The lines of a tree: the root, a PCI bus with a USB host controller and its
# root hub, and a disk beside the bus; under the hub, by PRESET: the camera,
# the camera without a driver key, another product of the camera's maker, or
# nothing.
devtree_lines() { # camera | camera-without-driver | other-product | without-camera
    local under_hub
    case $1 in
    camera) under_hub=$CAMERA_NODE ;;
    camera-without-driver) under_hub=${CAMERA_NODE#driver=*|} ;;
    other-product) under_hub=${CAMERA_NODE//PID_0302/PID_0303} ;;
    without-camera) under_hub= ;;
    *)
        echo "devtree_lines: no preset '$1'" >&2
        return 2
        ;;
    esac
    printf '%s\n' '0|desc=Root' \
        '1|driver={4d36e97d-e325-11ce-bfc1-08002be10318}\0000|desc=PCI Bus|hwid=ACPI\PNP0A03' \
        '2|driver={36fc9e60-c465-11cf-8056-444553540000}\0000|desc=USB Host Controller|hwid=PCI\VEN_8086&DEV_24C2' \
        '3|driver={36fc9e60-c465-11cf-8056-444553540000}\0001|desc=USB Root Hub|hwid=USB\ROOT_HUB'
    [[ -z $under_hub ]] || echo "4|$under_hub"
    echo '1|driver={4d36e967-e325-11ce-bfc1-08002be10318}\0000|desc=Disk drive|hwid=IDE\DiskWINE'
}
# The camera plugged in, with its capture driver.
plug_camera() {
    devtree camera
    capture_drivers_set "$WDM_CAPTURE_DRIVER"
}
devtree() { # preset
    local lines
    mapfile -t lines < <(devtree_lines "$1")
    devtree_set "${lines[@]}"
}

# --- The capture drivers and the capture window's log ---------------------------------
WDM_CAPTURE_DRIVER="Microsoft WDM Image Capture (Win32)"
capture_drivers_set() { standins_write capture-drivers.txt "$@"; } # descriptions, index 0 first
capture_connects() { standins_write capture-connect.txt "$1"; }    # 0 or 1
capture_log() { cat "$(standins_files)/capture.log" 2>/dev/null || true; }
capture_log_clear() { standins_write capture.log; }
# The log with the format buffer's address, which changes from run to run, as P.
capture_log_masked() { capture_log | sed -E 's/lparam=[1-9][0-9]*/lparam=P/'; }
capture_log_has() { capture_log | grep -qE "$1"; } # extended regex

# --- The test picture ------------------------------------------------------------------
# The test picture of a capture window whose client area is at screen X,Y:
# the colour of each of its eight bars, left to right, in a screenshot...
STANDIN_BARS="255,255,255 255,255,0 0,255,255 0,255,0 255,0,255 255,0,0 0,0,255 0,0,0"
test_picture_bars() { # screenshot, x, y
    local x y=$(($3 + 20)) bars=()
    for ((x = $2 + 20; x < $2 + 320; x += 40)); do
        bars+=("$(convert "$1" -format "%[fx:int(255*p{$x,$y}.r)],%[fx:int(255*p{$x,$y}.g)],%[fx:int(255*p{$x,$y}.b)]" info:)")
    done
    echo "${bars[*]}"
}
# ... and how many pixels of the strip its square moves in changed between
# two screenshots.
test_picture_moved() { # screenshot, later screenshot, x, y
    local strip="320x60+$3+$(($4 + 180))" changed
    changed=$(compare -metric AE "$1[$strip]" "$2[$strip]" null: 2>&1)
    echo "${changed%% *}"
}
