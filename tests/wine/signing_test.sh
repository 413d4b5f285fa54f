#!/usr/bin/env bash
# Signing: the build (the shipping i686 one unless told), given a throwaway
# self-signed certificate, signs Lumetra.exe, the uninstaller inside the
# installer and the installer (Authenticode, SHA-256); each signature holds
# against that certificate (the uninstaller's taken from a silent install
# under Wine), and the signed program passes the import check and runs.
# Without a certificate the build says in one line that it builds unsigned.
# Builds in build/<build>-signed; what osslsigncode printed is kept in
# signatures.txt.
source "$(dirname "$0")/lib/load.sh" "$@"
source "$ROOT/scripts/steps.sh"
SIGNED=$ROOT/build/$BUILD-signed
KEYS=$(mktemp -d /tmp/lumetra-signing.XXXXXX)
trap 'end_own_processes; rm -rf "$KEYS"' EXIT
export LUMETRA_SIGN_PFX=$KEYS/signing.pfx LUMETRA_SIGN_PASSWORD=throwaway
: >"$ARTIFACTS/signatures.txt"

make_certificate() {
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Lumetra test signing" \
        -addext extendedKeyUsage=codeSigning -keyout "$KEYS/key.pem" -out "$KEYS/certificate.pem" 2>/dev/null &&
        openssl pkcs12 -export -inkey "$KEYS/key.pem" -in "$KEYS/certificate.pem" -out "$LUMETRA_SIGN_PFX" \
            -passout "pass:$LUMETRA_SIGN_PASSWORD"
}
build_signed() {
    rm -rf "$SIGNED" && configure_windows "$ROOT" "$SIGNED" "$BUILD" >/dev/null &&
        cmake --build "$SIGNED" -j "$(nproc)" --target Lumetra installer >/dev/null
}
# osslsigncode's report goes to signatures.txt; the signature must hold.
signed() { # file
    local report status
    report=$(osslsigncode verify -CAfile "$KEYS/certificate.pem" -in "$1" 2>&1)
    status=$?
    printf '== %s\n%s\n' "$1" "$report" >>"$ARTIFACTS/signatures.txt"
    ((status == 0)) && grep -q '^Signature verification: ok$' <<<"$report"
}
SIGNED_SETUP=$SIGNED/$(basename "$SETUP")

check "a throwaway self-signed code-signing certificate is made" make_certificate
check "the $ARCH build signs with it" build_signed
check "Lumetra.exe's signature holds against the certificate" signed "$SIGNED/Lumetra.exe"
check "the installer's signature holds" signed "$SIGNED_SETUP"
passes_import_check() { "$ROOT/build/host/import_check" "$1" "$(wine_dll_dir "$BUILD")" >"$ARTIFACTS/signed-imports.txt"; }
check "the signed Lumetra.exe passes the import check" passes_import_check "$SIGNED/Lumetra.exe"

start_display
new_prefix
dir=$(installed_dir)
check "the signed installer installs silently" wine "$SIGNED_SETUP" /S
check "the installed uninstaller's signature holds" signed "$dir/Uninstall.exe"
EXE="$dir/Lumetra.exe"
check "the installed program is the signed one" cmp -s "$EXE" "$SIGNED/Lumetra.exe"
check "and shows its window" start_lumetra
check "and ends by its Exit button" exit_lumetra

unset LUMETRA_SIGN_PFX LUMETRA_SIGN_PASSWORD
check "without a certificate the build says in one line that it builds unsigned" \
    equals "$(configure_windows "$ROOT" "$SIGNED" "$BUILD" | grep -ci 'unsigned')" 1
finish
