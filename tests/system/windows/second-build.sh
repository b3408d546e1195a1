# Sourced by tests/system/windows/test.sh: reproducibility and signing.

# second_build FOLDER: copies the source (the work tree's files that git
# knows or would add) into FOLDER/source and builds dilmora.exe and the
# installer there, in another folder and at another time than any other build,
# with the commit's SOURCE_DATE_EPOCH. Signing variables in the environment sign it.
second_build() {
    local source=$1/source
    mkdir -p "$source"
    git ls-files -z --cached --others --exclude-standard |
        tar --null --ignore-failed-read -T - -cf - 2>/dev/null | tar -C "$source" -xf -
    (cd "$source" && export DILMORA_WINDOWS_QT=$windows_qt && cmake --preset windows -DBUILD_TESTING=OFF >/dev/null &&
        cmake --build --preset windows --target dilmora installer -j "$(nproc)" >/dev/null)
}

# same_bytes FIRST SECOND: fails, with diffoscope's summary of the
# difference, when the two files differ.
same_bytes() {
    cmp -s "$1" "$2" && return 0
    install_for diff >/dev/null
    diffoscope --text - --max-text-report-size 4000 "$1" "$2" || true
    return 1
}

# throwaway_certificate FOLDER: a self-signed code-signing certificate in
# FOLDER/signing.p12 with its password in FOLDER/password, and its
# certificate alone in FOLDER/signing.pem for verifying.
throwaway_certificate() {
    openssl rand -hex 16 >"$1/password"
    openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -nodes -subj "/CN=Dilmora test signer" \
        -addext extendedKeyUsage=codeSigning -keyout "$1/signing.key" -out "$1/signing.pem" 2>/dev/null
    openssl pkcs12 -export -inkey "$1/signing.key" -in "$1/signing.pem" -out "$1/signing.p12" \
        -passout "file:$1/password"
}

# verify_signature FILE CERTIFICATE: an Authenticode signature by CERTIFICATE.
verify_signature() {
    osslsigncode verify -CAfile "$2" -in "$1" >"$1.verify" 2>&1 ||
        { cat "$1.verify" >&2; return 1; }
    grep -q 'Signature verification: ok' "$1.verify"
}
