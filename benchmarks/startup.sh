#!/usr/bin/env bash
# Start-up of usbdrvgen as a pipeline pays it, once per product: one small package generated
# by the program against a program that only writes the same bytes, compiled in beforehand.
# Runs alternate in one session, so that a busy machine slows both alike.
# Usage: benchmarks/startup.sh USBDRVGEN [RUNS] [KIND]   (KIND com or ferrolink; the folders
# are made under TMPDIR, so TMPDIR=/dev/shm leaves the disk out)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
program="$(realpath "${1:?usage: startup.sh USBDRVGEN [RUNS] [KIND]}")"
runs="${2:-300}"
kind="${3:-com}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The reference package and, from its files in the order they were written, the yardstick.
"$program" --kind "$kind" --out "$work/reference" --quiet
i=0
while IFS= read -r path; do
  name="${path##*/}"
  printf 'PACKAGE_FILE(%d, "%s", "%s")\n' "$i" "$name" "$work/reference/$name"
  i=$((i + 1))
done < <("$program" --kind "$kind" --out "$work/reference" --list) >"$work/files.inc"
cc -O2 -o "$work/precomputed-writer" -DPACKAGE_FILES="\"$work/files.inc\"" \
  "$here/PrecomputedWriter.c"
mkdir "$work/plain" "$work/generated"
"$work/precomputed-writer" "$work/plain"
diff -r "$work/reference" "$work/plain" >/dev/null || {
  echo "startup: the yardstick does not write the reference package" >&2
  exit 1
}

python3 - "$runs" "$program" "$kind" "$work" <<'PY'
import os, statistics, sys, time
runs, program, kind, work = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
# Each run writes a new folder, as a pipeline does for each product.
commands = {
    "usbdrvgen": lambda i: [program, "--kind", kind, "--out", f"{work}/generated/{i}", "--quiet"],
    "writer": lambda i: [work + "/precomputed-writer", f"{work}/plain/{i}"],
}
null = os.open(os.devnull, os.O_WRONLY)
# Wall time is what a pipeline waits; the processor time of the child alone (user and system)
# is what the program costs, and varies less on a machine that others use too.
def run(argv):
    start = time.perf_counter()
    pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=[(os.POSIX_SPAWN_DUP2, null, 1)])
    _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("startup: " + " ".join(argv) + " failed")
    return wall, usage.ru_utime + usage.ru_stime
wall = {name: [] for name in commands}
cpu = {name: [] for name in commands}
for i in range(runs):
    # Alternating which goes first keeps a cache or scheduler effect from favouring one.
    for name in (sorted(commands) if i % 2 else sorted(commands, reverse=True)):
        w, c = run(commands[name](i))
        wall[name].append(w)
        cpu[name].append(c)
# Other work on the machine only ever adds time: the fastest tenth shows the program's own cost
# best, the median what a pipeline sees.
def figures(name):
    w = sorted(wall[name])
    return [statistics.median(w) * 1000, statistics.mean(w[: max(1, len(w) // 10)]) * 1000,
            statistics.median(cpu[name]) * 1000]
print(f"{runs} runs each (ms)   median   fastest 10%   processor")
mine, yardstick = figures("usbdrvgen"), figures("writer")
for name, f in (("usbdrvgen", mine), ("writer", yardstick)):
    print(f"  {name:16} {f[0]:8.3f} {f[1]:13.3f} {f[2]:11.3f}")
r = [a / b for a, b in zip(mine, yardstick)]
print(f"  {'ratio':16} {r[0]:8.2f} {r[1]:13.2f} {r[2]:11.2f}")
PY
