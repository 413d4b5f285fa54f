# The test-only virtual camera (tests/wine/vcam): its x86_64 kernel driver, a
# service the 64-bit control tool creates (a 32-bit driver host could not load
# it); its capture filter, a video-input device named like the camera in the
# build's registry view; and the build's test ksproxy.ax, taken instead of
# Wine's by a DLL override.
VCAM=$BIN/vcam
VCAMCTL=$ROOT/build/win64/vcam/vcamctl.exe
VCAM_CLSID='{5E1A0C9B-7D3F-4B2A-9C61-4C756D657472}'
VIDEO_INPUT_INSTANCE='HKCR\CLSID\{860BB310-5D01-11D0-BD3B-00A0C911CE86}\Instance'

vcamctl() { wine "$VCAMCTL" "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }

# The prefix's system folder for the build's architecture.
system_dir() { [[ $BUILD == win32 ]] && echo "$WINEPREFIX/drive_c/windows/syswow64" || echo "$WINEPREFIX/drive_c/windows/system32"; }

register_virtual_camera() {
    wine reg add "$VIDEO_INPUT_INSTANCE\\$VCAM_CLSID" /v FriendlyName /d "Zivo Web Camera" /f /reg:$VIEW >/dev/null 2>&1
    wine reg add "$VIDEO_INPUT_INSTANCE\\$VCAM_CLSID" /v CLSID /d "$VCAM_CLSID" /f /reg:$VIEW >/dev/null 2>&1
}
unregister_virtual_camera() { wine reg delete "$VIDEO_INPUT_INSTANCE\\$VCAM_CLSID" /f /reg:$VIEW >/dev/null 2>&1; }

# Creates and starts the driver's service; true once the driver answers.
virtual_camera_driver_answers() {
    vcamctl install 'C:\windows\system32\drivers\vcam.sys' >/dev/null 2>&1
    vcamctl count >/dev/null 2>&1
}

install_virtual_camera() {
    cp "$VCAM/ksproxy.ax" "$VCAM/vcamfilter.dll" "$(system_dir)/"
    cp "$ROOT/build/win64/vcam/vcam.sys" "$WINEPREFIX/drive_c/windows/system32/drivers/"
    wine reg add "HKCR\\CLSID\\$VCAM_CLSID\\InprocServer32" /ve /d 'C:\windows\system32\vcamfilter.dll' /f \
        /reg:$VIEW >/dev/null 2>&1
    wine reg add "HKCR\\CLSID\\$VCAM_CLSID\\InprocServer32" /v ThreadingModel /d Both /f /reg:$VIEW >/dev/null 2>&1
    register_virtual_camera
    wine reg add 'HKCU\Software\Wine\DllOverrides' /v ksproxy.ax /d native /f >/dev/null 2>&1
    # In a new prefix the driver's host process can take longer to start than
    # the service manager waits (1053, then a late second instance): let it
    # wait a minute, from a restart on.
    wine reg add 'HKLM\System\CurrentControlSet\Control' /v ServicesPipeTimeout /t REG_DWORD /d 60000 /f \
        /reg:64 >/dev/null 2>&1
    restart_wineserver || return 1
    WAIT_EVERY=1 wait_until 4 virtual_camera_driver_answers
}
