# What the benchmark scripts share: seeded catalogue records, and timing a command fairly. Needs
# $work, a folder of the caller's; the last run's output is left in $work/out.

# seeded_tyc2 BYTES: Tycho-2's records, seeded, at least BYTES of them: every field in its place,
# one star in fifty without BT, positions spread over the whole sky.
seeded_tyc2() {
  gawk -v bytes="$1" 'BEGIN {
  srand(2)
  for (written = 0; written < bytes; written += 207) {
    bt = 7 + rand() * 5; vt = bt - 0.1 - rand() * 1.6
    btField = rand() < 0.02 ? "      |     " : sprintf("%6.3f|%5.3f", bt, rand() * 0.5)
    printf "%04d %05d %1d| |%12.8f|%12.8f|%7.1f|%7.1f|%3d|%3d|%4.1f|%4.1f|%7.2f|%7.2f|%2d|%3.1f|" \
           "%3.1f|%3.1f|%3.1f|%s|%6.3f|%5.3f|%3d| |%9s|%12.8f|%12.8f|%4.2f|%4.2f|%5.1f|%5.1f| |%4.1f\n",
      1 + rand() * 9536, 1 + rand() * 12120, 1, rand() * 360, rand() * 180 - 90, rand() * 200 - 100,
      rand() * 200 - 100, 3 + rand() * 100, 3 + rand() * 100, rand() * 9, rand() * 9,
      1980 + rand() * 10, 1980 + rand() * 10, 2 + rand() * 30, rand() * 9, rand() * 9, rand() * 9,
      rand() * 9, btField, vt, rand() * 0.3, 999, "", rand() * 360, rand() * 180 - 90, 1 + rand(),
      1 + rand(), rand() * 99, rand() * 99, rand() * 1.8 - 0.9
  }
}'
}

# once COMMAND...: the seconds of one run. Each run starts as the first did: the output of the
# run before is deleted and what is still to be written to disk is written, so that neither is
# counted in this run's time (truncating 200 MB of output takes longer than 50 ms here).
once() {
  local start end
  rm -f "$work/out"
  sync
  start=$(date +%s.%N)
  "$@" >"$work/out" 2>/dev/null
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}

# in_turns COMMAND...: the fastest of three runs of each command, a function that reads its own
# input, taken in turns, so that all of them meet the machine's busy and quiet moments alike.
in_turns() {
  local -a fastest=()
  local round i seconds
  for round in 1 2 3; do
    for ((i = 1; i <= $#; i++)); do
      seconds=$(once "${!i}")
      fastest[i]=$(awk -v t="$seconds" -v f="${fastest[i]:-}" 'BEGIN { print (f == "" || t < f) ? t : f }')
    done
  done
  echo "${fastest[@]}"
}
