#!/usr/bin/env bash
# Signs a Windows executable in place with Authenticode (SHA-256), when a
# certificate is given; without one it does nothing, and the build stays
# unsigned and reproducible.
#
#   DILMORA_SIGN_PKCS12=cert.p12 DILMORA_SIGN_PASSWORD_FILE=password.txt \
#       bash packaging/windows/sign.sh FILE.exe DESCRIPTION
#       bash packaging/windows/sign.sh --check FILE.exe
#
# --check fails unless FILE.exe carries a signature by that certificate; a
# release that is meant to be signed checks every program with it.
#
# DILMORA_SIGN_TIMESTAMP_URL, when set, names an RFC 3161 time-stamping
# server. The build calls this for dilmora.exe, the uninstaller before it is
# packed into the installer, and the installer.
set -eEuo pipefail
[ $# -eq 2 ] || { echo "usage: sign.sh FILE.exe DESCRIPTION | sign.sh --check FILE.exe" >&2; exit 2; }
[ -n "${DILMORA_SIGN_PKCS12:-}" ] || exit 0
[ -r "$DILMORA_SIGN_PKCS12" ] || { echo "sign.sh: cannot read DILMORA_SIGN_PKCS12=$DILMORA_SIGN_PKCS12" >&2; exit 1; }

# fingerprints: the SHA-256 fingerprint of each certificate on standard input.
fingerprints() {
    local line certificate=
    while IFS= read -r line; do
        certificate+=$line$'\n'
        if [ "$line" = "-----END CERTIFICATE-----" ]; then
            sed -n '/-----BEGIN CERTIFICATE-----/,$p' <<<"$certificate" | openssl x509 -noout -fingerprint -sha256
            certificate=
        fi
    done
}
if [ "$1" = --check ]; then
    passin=pass:
    if [ -n "${DILMORA_SIGN_PASSWORD_FILE:-}" ]; then passin=file:$DILMORA_SIGN_PASSWORD_FILE; fi
    ours=$(openssl pkcs12 -in "$DILMORA_SIGN_PKCS12" -passin "$passin" -nokeys -clcerts | fingerprints)
    scratch=$(mktemp -d)   # osslsigncode writes only a new file
    trap 'rm -rf "$scratch"' EXIT
    signers=$(osslsigncode extract-signature -pem -in "$2" -out "$scratch/signature.pem" >/dev/null 2>&1 &&
        openssl pkcs7 -in "$scratch/signature.pem" -print_certs | fingerprints) || true
    grep -qxF "$ours" <<<"$signers" ||
        { echo "sign.sh: $2 is not signed by the certificate in $DILMORA_SIGN_PKCS12" >&2; exit 1; }
    exit 0
fi

file=$1
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
