#!/usr/bin/env bash
# Compares the files of two builds byte for byte and names what differs: each file that is not
# the same, its first differing byte and the bytes around it on both sides; inside an archive
# (.zip, .tar.gz, .deb) also the members that differ, the same way.
# Usage: scripts/compare-builds.sh DIR_A DIR_B    Exit status 0 when every file is the same.
set -uo pipefail
a=$(realpath "${1:?usage: compare-builds.sh DIR_A DIR_B}") b=$(realpath "${2:?}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
different=0

unpack() {  # ARCHIVE FOLDER
  mkdir -p "$2"
  case $1 in
    *.zip) unzip -q "$1" -d "$2" ;;
    *.tar.gz) tar -xzf "$1" -C "$2" ;;
    *.deb) dpkg-deb -R "$1" "$2" ;;
  esac
}

# The PE header's time stamp is the usual suspect in a Windows program: name it when it is hit.
pe_field() {  # FILE NAME BYTE
  case $2 in *.exe | *.dll) ;; *) return ;; esac
  local header
  header=$(od -An -tu4 -j 60 -N 4 "$1" | tr -d ' ')
  [ -n "$3" ] && [ $(($3 - 1 - header)) -ge 8 ] && [ $(($3 - 1 - header)) -lt 12 ] &&
    echo " in the PE header's TimeDateStamp"
}

compare_file() {  # A B NAME
  cmp -s "$1" "$2" && return 0
  different=1
  local where byte
  where=$(cmp "$1" "$2" 2>&1 | head -1)
  byte=$(sed -n 's/.*differ: byte \([0-9]*\),.*/\1/p; s/.*EOF on .* after byte \([0-9]*\).*/\1/p' \
    <<<"$where")
  echo "DIFFERENT: $3: ${byte:+first difference at byte $byte (offset $(printf '0x%x' $((byte - 1))))}$(pe_field "$1" "$3" "$byte")"
  [ -n "$byte" ] || echo "  $where"
  if [ -n "$byte" ]; then
    for side in "$1" "$2"; do
      echo "  ${side#"$work"/}:"
      xxd -s $((byte > 16 ? byte - 17 : 0)) -l 48 "$side" | sed 's/^/    /'
    done
  fi
  case $3 in
    *.zip | *.tar.gz | *.deb)
      local inner="$work/$(basename "$3")-$RANDOM"
      unpack "$1" "$inner/a" && unpack "$2" "$inner/b" && compare_tree "$inner/a" "$inner/b" "$3: "
      ;;
  esac
}

compare_tree() {  # A B PREFIX
  local name
  while IFS= read -r name; do
    if [ ! -e "$1/$name" ] || [ ! -e "$2/$name" ]; then
      different=1
      echo "DIFFERENT: $3$name is only in $([ -e "$1/$name" ] && echo "$1" || echo "$2")"
    else
      compare_file "$1/$name" "$2/$name" "$3$name"
    fi
  done < <( (cd "$1" && find . -type f; cd "$2" && find . -type f) | sed 's|^\./||' | sort -u)
}

compare_tree "$a" "$b" ""
if [ "$different" = 0 ]; then
  echo "compare-builds: every file of $a and $b holds the same bytes"
fi
exit "$different"
