#!/usr/bin/env bash
# Signs a Windows executable in place: Authenticode, SHA-256, with the
# certificate and key of the PKCS#12 file LUMETRA_SIGN_PFX, whose password
# LUMETRA_SIGN_PASSWORD is read from the environment (so that it shows in no
# command line and no build file); with LUMETRA_SIGN_TIMESTAMP, an RFC 3161
# time-stamp server's URL, the signature is time-stamped.
#   cmake/sign.sh FILE
set -euo pipefail
: "${LUMETRA_SIGN_PFX:?must name the PKCS#12 file to sign with}"
: "${LUMETRA_SIGN_PASSWORD:?must hold the password of the PKCS#12 file}"
file=$1
timestamp=()
[[ -z ${LUMETRA_SIGN_TIMESTAMP:-} ]] || timestamp=(-ts "$LUMETRA_SIGN_TIMESTAMP")
osslsigncode sign -pkcs12 "$LUMETRA_SIGN_PFX" -readpass <(printf '%s' "$LUMETRA_SIGN_PASSWORD") -h sha256 \
    -n Lumetra "${timestamp[@]}" -in "$file" -out "$file.signed" >/dev/null
mv -f "$file.signed" "$file"
