#!/usr/bin/env bash
# The Windows build signed as a vendor signs it, with a throwaway self-signed
# code-signing certificate made for this run in a temporary folder (nothing
# secret is kept): built with --sign --test, so the signed program also runs
# the end-to-end install under Wine, then the zip's TorvexSetup.exe verified
# against that certificate. Before that, it is built unsigned, and then a
# missing certificate, a wrong password, no source address, the placeholder
# one (in capitals, as a host name may be written) and one with a line break
# must each stop the build with a message and leave no zip. The address it
# signs with is a name reserved for tests.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-windows

scripts/install-deps.sh --with-windows-tools
keys=$(mktemp -d)
trap 'rm -rf "$keys"' EXIT
openssl rand -base64 24 >"$keys/password"
openssl req -x509 -newkey rsa:3072 -sha256 -days 2 -noenc -keyout "$keys/key.pem" -out "$keys/certificate.pem" \
    -subj "/CN=TorvexSetup throwaway test signer" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" 2>/dev/null
openssl pkcs12 -export -inkey "$keys/key.pem" -in "$keys/certificate.pem" -out "$keys/signer.p12" \
    -passout "file:$keys/password"
rm "$keys/key.pem"

# Time-stamping needs a server on the network: not here.
export TORVEX_SIGN_PKCS12=$keys/signer.p12 TORVEX_SIGN_PASSWORD_FILE=$keys/password TORVEX_SIGN_TIMESTAMP_URL=

# Built unsigned first, where its output shows: on a first run that is the
# long part (the Qt for Windows may be built too), and the refused builds
# below, whose output is only looked at, then have nothing left to build.
scripts/build-windows.sh

# What cannot be signed stops the build with a message, and leaves no zip,
# not even the unsigned one of the build before.
refused() {
    local why=$1
    shift
    if "$@" >"$keys/refused.log" 2>&1; then
        echo "FAIL: --sign with $why succeeded" >&2
        exit 1
    fi
    grep -q "Signing" "$keys/refused.log" || { cat "$keys/refused.log" >&2; echo "FAIL: no message for $why" >&2; exit 1; }
    [[ -z $(find "$build" -maxdepth 1 -name '*.zip' 2>/dev/null) ]] ||
        { echo "FAIL: a zip left after --sign with $why" >&2; exit 1; }
}
url=https://torvexsetup.test/source
refused "no certificate named" env -u TORVEX_SIGN_PKCS12 scripts/build-windows.sh --sign --source-url "$url"
echo wrong >"$keys/wrong-password"
refused "a wrong password" env TORVEX_SIGN_PASSWORD_FILE="$keys/wrong-password" scripts/build-windows.sh --sign --source-url "$url"
refused "no source address" scripts/build-windows.sh --sign
refused "the placeholder source address, in capitals" scripts/build-windows.sh --sign --source-url https://TORVEX.INVALID/torvexsetup
refused "a source address with a line break" scripts/build-windows.sh --sign --source-url "$url
and more"

scripts/build-windows.sh --sign --test --source-url "$url"

zip=$(cat "$build/zip-name.txt")
(cd "$keys" && cmake -E tar xf "$OLDPWD/$build/$zip" "${zip%.zip}/TorvexSetup.exe" "${zip%.zip}/README.txt")
grep -qF "$url" "$keys/${zip%.zip}/README.txt" || { echo "FAIL: the zip's README.txt does not offer the source at $url" >&2; exit 1; }
osslsigncode verify -CAfile "$keys/certificate.pem" -in "$keys/${zip%.zip}/TorvexSetup.exe" >"$keys/verify.log" 2>&1 ||
    { cat "$keys/verify.log" >&2; echo "FAIL: the zip's TorvexSetup.exe does not verify against the certificate" >&2; exit 1; }
echo "The zip's TorvexSetup.exe is signed and verifies against the test certificate"
