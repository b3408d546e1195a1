#!/usr/bin/env bash
# Signs a Windows executable in place with Authenticode (SHA-256), when a
# certificate is given; without one it does nothing, and the build stays
# unsigned and reproducible.
#
#   DILMORA_SIGN_PKCS12=cert.p12 DILMORA_SIGN_PASSWORD_FILE=password.txt \
#       bash tools/windows/sign.sh FILE.exe DESCRIPTION
#
# DILMORA_SIGN_TIMESTAMP_URL, when set, names an RFC 3161 time-stamping
# server. The build calls this for dilmora.exe, the uninstaller before it is
# packed into the installer, and the installer.
set -eEuo pipefail
[ $# -eq 2 ] || { echo "usage: sign.sh FILE.exe DESCRIPTION" >&2; exit 2; }
[ -n "${DILMORA_SIGN_PKCS12:-}" ] || exit 0
file=$1
[ -r "$DILMORA_SIGN_PKCS12" ] || { echo "sign.sh: cannot read DILMORA_SIGN_PKCS12=$DILMORA_SIGN_PKCS12" >&2; exit 1; }
password=()
if [ -n "${DILMORA_SIGN_PASSWORD_FILE:-}" ]; then password=(-readpass "$DILMORA_SIGN_PASSWORD_FILE"); fi
timestamp=()
if [ -n "${DILMORA_SIGN_TIMESTAMP_URL:-}" ]; then timestamp=(-ts "$DILMORA_SIGN_TIMESTAMP_URL"); fi
signed=$file.signing.$$   # osslsigncode writes only a new file
[ ! -e "$signed" ] || { echo "sign.sh: $signed is in the way" >&2; exit 1; }
trap 'rm -f "$signed"' EXIT
osslsigncode sign -pkcs12 "$DILMORA_SIGN_PKCS12" "${password[@]}" -h sha256 \
    -n "$2" "${timestamp[@]}" -in "$file" -out "$signed" >/dev/null
mv "$signed" "$file"
trap - EXIT
