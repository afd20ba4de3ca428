#!/usr/bin/env bash
# Output folders as Windows names them, one row each, for usbdrvgen or (given Wine) the Windows
# build: the exit status, the one line said, nothing written on a refusal, the package whole on
# success. Both builds must agree on every row.
#   output-folders.sh USBDRVGEN WORK                  the native program
#   output-folders.sh USBDRVGEN WORK WINE_SH EXE      the Windows program, all rows in one Wine session
set -uo pipefail
usbdrvgen=$1 work=$2 wine_sh=${3:-} windows_exe=${4:-}
rm -rf "$work" && mkdir -p "$work" || exit 1
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

"$usbdrvgen" --quiet --kind com --out "$work/ref" || exit 1
# Windows opens paths of at most 259 characters, and a run writes each file first under a
# temporary name of 16 ("~usbwiz-XXXX.tmp"): the longest name decides how long a folder may be.
longest=16
for file in "$work/ref"/*; do
  name=${file##*/}
  [ "${#name}" -gt "$longest" ] && longest=${#name}
done
limit=$((258 - longest))
certificate_limit=$((258 - 20))  # tarn-driver-test.cer

# Folders are written below the row's own folder R, '/' between levels; @ is a drive whose root
# is R; {N} is a folder whose Windows path has N characters.
rows=$(cat <<EOF
at-limit       | {$limit}            | -                      | 0 | -
over-limit     | {$((limit + 1))}    | -                      | 2 | --out: too long for Windows: the longest path written there, *PreInstaller.exe, would have 260 characters*, over Windows' limit of 259 (MAX_PATH)
up-and-over    | w/../w4             | -                      | 0 | -
drive-root     | @/.                 | -                      | 0 | -
trailing-blank | pkg /x              | -                      | 2 | --out: folder '*pkg ': a blank at the end is not allowed (Windows drops it from the name)
trailing-dot   | pkg./x              | -                      | 2 | --out: folder '*pkg.': a dot at the end is not allowed (Windows drops it from the name)
con            | CON/pkg             | -                      | 2 | --out: folder '*CON': 'CON' is not allowed (Windows reserves the name for a device)
nul-txt        | x/nul.txt/pkg       | -                      | 2 | --out: folder '*nul.txt': 'nul' is not allowed (Windows reserves the name for a device)
com1           | COM1                | -                      | 2 | 'COM1' is not allowed (Windows reserves the name for a device)
aux            | aux/pkg             | -                      | 2 | 'aux' is not allowed (Windows reserves the name for a device)
letter-case    | .                   | -                      | 0 | warning: 2 entries in * differ from files of this package only in letter case, and would be the same files once copied to Windows: Setup.Ini, TARNBUS.INF
certificate    | pkg                 | {$certificate_limit}   | 0 | -
certificate-long | pkg               | {$((certificate_limit + 1))} | 2 | --test-certificate: *: too long for Windows: the longest path written there, *tarn-driver-test.cer, would have 260 characters*
certificate-nul | pkg                | cer/NUL                | 2 | --test-certificate: *: folder '*NUL': 'NUL' is not allowed (Windows reserves the name for a device)
EOF
)

if [ -n "$windows_exe" ]; then
  : "${WINEPREFIX:?the Windows program runs in the prefix WINEPREFIX names}"
  root=$work/wine
  run() { bash "$wine_sh" "$windows_exe" "$@"; }
  # The Wine server comes up once and stays while the rows follow one another.
  run --version >/dev/null || fail "$windows_exe does not start under Wine"
else
  root=$work/native
  run() { "$usbdrvgen" "$@"; }
fi

# A folder of the table as the program is given it, and as this system finds it.
as_given() {
  local folder=$1
  if [ -n "$windows_exe" ]; then
    [[ $folder == @* ]] && folder="T:${folder#@}" || folder="Z:$R/$folder"
    echo "${folder//\//\\}"
  else
    [[ $folder == @* ]] && echo "$R${folder#@}" || echo "$R/$folder"
  fi
}
padded() {
  local rest=$(($1 - 2 - ${#R} - 1)) folder=""  # Z: and R/ in front
  while [ "$rest" -gt 51 ]; do
    folder+=$(printf 'x%.0s' $(seq 50))/
    rest=$((rest - 51))
  done
  echo "$folder$(printf 'y%.0s' $(seq "$rest"))"
}
resolved() { [[ $1 == @* ]] && realpath -m "$R${1#@}" || realpath -m "$R/$1"; }

while IFS='|' read -r name out certificate status expected; do
  for column in name out certificate status expected; do
    printf -v "$column" '%s' "$(sed 's/^ *//; s/ *$//' <<<"${!column}")"
  done
  R=$root/row-$name
  [[ $out =~ ^\{([0-9]+)\}$ ]] && out=$(padded "${BASH_REMATCH[1]}")
  [[ $certificate =~ ^\{([0-9]+)\}$ ]] && certificate=$(padded "${BASH_REMATCH[1]}")
  case $name in
    up-and-over) mkdir -p "$R/w" "$R/w4" ;;
    drive-root)
      mkdir -p "$R"
      [ -n "$windows_exe" ] && ln -sfn "$R" "$WINEPREFIX/dosdevices/t:"
      ;;
    letter-case)
      mkdir -p "$R" && echo old >"$R/TARNBUS.INF" && echo old >"$R/Setup.Ini"
      # Windows takes them for the package's own files, which the run replaces.
      [ -n "$windows_exe" ] && expected=-
      ;;
  esac
  args=(--kind com --out "$(as_given "$out")")
  [ "$certificate" != - ] && args+=(--catalog --test-certificate "$(as_given "$certificate")")
  run "${args[@]}" --quiet >"$work/out" 2>"$work/err"
  got=$?
  said=$(tr -d '\r' <"$work/err")
  [ "$got" = "$status" ] || fail "$name: exit status $got, not $status ($said)"
  [ -s "$work/out" ] && fail "$name: said on standard output: $(cat "$work/out")"
  if [ "$expected" = - ]; then
    [ -z "$said" ] || fail "$name: said '$said'"
  elif [ "$(wc -l <<<"$said")" != 1 ] || [[ $said != "usbdrvgen: "*$expected* ]]; then
    fail "$name: said '$said', not one line with '$expected'"
  fi

  if [ "$status" != 0 ]; then
    [ -e "$R" ] && fail "$name: a refused run wrote $(find "$R" | head -3)"
  else
    [ -n "$(find "$R" -name '~usbwiz-*')" ] && fail "$name: a temporary file was left"
    landing=$(resolved "$out")
    if [ "$certificate" != - ]; then
      [ -s "$(resolved "$certificate")/tarn-driver-test.cer" ] || fail "$name: no certificate"
      [ -s "$landing/tarnbus.cat" ] || fail "$name: no catalog"
    elif [ "$name" = letter-case ] && [ -n "$windows_exe" ]; then
      # Replaced under the names they had: every file of the package once, whatever its case.
      [ "$(ls "$landing" | tr A-Z a-z | sort)" = "$(ls "$work/ref" | tr A-Z a-z | sort)" ] &&
        cmp -s <(cd "$landing" && ls | sort -f | xargs cat) \
          <(cd "$work/ref" && ls | sort -f | xargs cat) ||
        fail "$name: not the package's files: $(ls "$landing")"
    elif [ "$name" = letter-case ]; then
      diff -r -x TARNBUS.INF -x Setup.Ini "$landing" "$work/ref" >/dev/null ||
        fail "$name: the package is not whole"
      [ "$(cat "$R/TARNBUS.INF" "$R/Setup.Ini")" = "$(printf 'old\nold')" ] ||
        fail "$name: the other files changed"
    else
      diff -r "$landing" "$work/ref" >/dev/null || fail "$name: the package in $landing is not whole"
    fi
    [ "$name" = up-and-over ] && [ -n "$(ls -A "$R/w")" ] && fail "$name: wrote into $R/w"
  fi
  echo "$name: $got"
done <<<"$rows"
[ -n "$windows_exe" ] && rm -f "$WINEPREFIX/dosdevices/t:"

[ "$failed" = 0 ] && echo "PASS: every folder of the table as Windows names it"
exit "$failed"
