# Sourced by the catalog tests: makes the member files in the current folder and tells their
# digests from tools that share no code with ours.
#   tiny.exe    a PE32+ image built with mingw-w64 from tiny.c
#   tiny32.exe  the same as PE32
#   tail.sys    tiny.exe with 4 octets appended: not a multiple of 8, so its hash takes padding
#   fake.dll    the first 100 octets of tiny.exe: "MZ", but no PE headers, so a flat file
#   acmebus.inf an INF file
members=(acmebus.inf tiny.exe tiny32.exe tail.sys fake.dll)

make_members() {
  local tiny_c=$1
  x86_64-w64-mingw32-gcc-posix -Os -nostdlib -e start -s -o tiny.exe "$tiny_c"
  x86_64-w64-mingw32-objcopy -O pei-i386 tiny.exe tiny32.exe
  cp tiny.exe tail.sys && printf 'tail' >>tail.sys
  head -c 100 tiny.exe >fake.dll
  printf '[Version]\r\nSignature="$Windows NT$"\r\nCatalogFile=acmebus.cat\r\n' >acmebus.inf
}

# osslsigncode's Authenticode digest of a PE image (upper-case hex): the last digest in the
# data it would sign.
pe_digest() {
  rm -f "$2.$1.der"
  osslsigncode extract-data -h "$1" -in "$2" -out "$2.$1.der" >/dev/null
  openssl asn1parse -inform DER -in "$2.$1.der" | sed -n 's/.*OCTET STRING *\[HEX DUMP\]://p' | tail -1
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
