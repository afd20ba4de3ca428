# shellcheck shell=bash disable=SC2154  # usbdrvgen and work come from the sourcing script
# Helpers for the Wine tests that write packages with the user's own IDs and names: each kind's
# base names, one of them changed by a row of the names table. Sourced by those tests' scripts,
# which set `usbdrvgen` and `work` first.

# Z: is the Linux root inside Wine.
windows_path() {
  local path
  path=$(realpath -m "$1")
  printf 'Z:%s' "${path//\//\\}"
}

generate() {
  local out=$1
  shift
  if ! "$usbdrvgen" --out "$out" --quiet "$@"; then
    echo "FAIL: usbdrvgen $* did not write its package" >&2
    exit 1
  fi
}

# The Windows programs name the fields as here ({Field} in the expectation files).
declare -A option_of=(
  [UninstallName]=--uninstall-name [InfPrefix]=--inf-prefix [InfName]=--inf-name
  [SysName]=--sys-name [ShortName]=--short-name [LongName]=--long-name
  [ComDeviceName]=--com-device-name [UsbDeviceName]=--usb-device-name)
declare -A field_of
for field in "${!option_of[@]}"; do field_of[${option_of[$field]}]=$field; done

# named_package KIND [OPTION VALUE]: sets the caller's `values` (field -> text) to the kind's
# base names with the one the option changes, and its `args` to usbdrvgen's arguments for them.
named_package() {
  local kind=$1 changed=${2:-} changed_value=${3:-} field
  if [ "$kind" = com ]; then
    values=([UninstallName]=acmeunin [InfPrefix]=acme [ShortName]=acmeshort
            [LongName]="Acme Widget Works" [ComDeviceName]="Acme Serial Bridge"
            [UsbDeviceName]="Acme Composite Hub")
  else
    values=([UninstallName]=acmeunin [InfName]=acmefl [SysName]=acmedrv [ShortName]=acmeshort
            [LongName]="Acme Widget Works" [UsbDeviceName]="Acme Direct Link")
  fi
  if [ -n "$changed" ]; then values[${field_of[$changed]}]=$changed_value; fi
  args=(--kind "$kind" --vid 1A2B --pid 3C4D)
  for field in "${!values[@]}"; do args+=("${option_of[$field]}=${values[$field]}"); done
}

# accepted_names TABLE: the table's accepted rows, as KIND<tab>OPTION<tab>VALUE lines.
accepted_names() {
  local kind option value outcome
  while IFS=$'\t' read -r kind option value outcome; do
    if [ "$outcome" = accepted ]; then printf '%s\t%s\t%s\n' "$kind" "$option" "$value"; fi
  done < <(grep -v '^#' "$1")
}
