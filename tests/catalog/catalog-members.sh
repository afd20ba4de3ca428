# Sourced by the catalog tests: makes the member files in the current folder and tells their
# digests from tools that share no code with ours.
#   tiny.exe    a PE32+ image built with mingw-w64 from tiny.c
#   tiny32.exe  the same as PE32
#   tail.sys    tiny.exe with 4 octets appended: not a multiple of 8, so its hash takes padding
#   fake.dll    the first 100 octets of tiny.exe: "MZ", but no PE headers, so a flat file
#   acmebus.inf an INF file
# and a throw-away code-signing pair, cert.pem and key.pem.
members=(acmebus.inf tiny.exe tiny32.exe tail.sys fake.dll)

make_members() {
  local tiny_c=$1
  x86_64-w64-mingw32-gcc-posix -Os -nostdlib -e start -s -o tiny.exe "$tiny_c"
  x86_64-w64-mingw32-objcopy -O pei-i386 tiny.exe tiny32.exe
  cp tiny.exe tail.sys && printf 'tail' >>tail.sys
  head -c 100 tiny.exe >fake.dll
  printf '[Version]\r\nSignature="$Windows NT$"\r\nCatalogFile=acmebus.cat\r\n' >acmebus.inf
  openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 30 -subj /CN=test \
    -addext extendedKeyUsage=codeSigning 2>/dev/null
}

# osslsigncode's Authenticode digest of a PE image (upper-case hex): the one it puts into a
# signature of the file, which it computes before it appends the signature. (Debian 12's
# osslsigncode 2.5 has no extract-data.)
pe_digest() {
  rm -f "$2.$1.signed"
  osslsigncode sign -certs cert.pem -key key.pem -h "$1" -in "$2" -out "$2.$1.signed" >/dev/null
  local digest
  digest=$({ osslsigncode verify -in "$2.$1.signed" 2>/dev/null || true; } |
    sed -n 's/^Current message digest *: *\([0-9A-F]*\).*/\1/p')
  if [ -z "$digest" ]; then
    echo "FAIL: osslsigncode gives no digest of $2" >&2
    return 1
  fi
  echo "$digest"
}

# digest_of sha1|sha256 FILE: upper-case hex, by kind.
digest_of() {
  case $(kind_of "$2") in
    pe) pe_digest "$@" ;;
    *) "${1}sum" <"$2" | cut -d' ' -f1 | tr a-f A-F ;;
  esac
}

kind_of() {
  case $1 in
    *.exe | *.sys) echo pe ;;
    *) echo flat ;;
  esac
}
