#!/usr/bin/env bash
# What ./run adds before an up-to-date program starts: ./setup --quick on a
# built tree (no package manager, the build's own no-op check). Target: well
# under a second; on the development machine about 0.1 s.
#   bench/run_start.sh [TIMES]
set -euo pipefail
cd "$(dirname "$0")/.."
times=${1:-10}
./setup --quick  # builds first, if anything changed
for ((i = 0; i < times; i++)); do
  start=$(date +%s%N)
  ./setup --quick
  echo $(( ($(date +%s%N) - start) / 1000000 ))
done | sort -n | awk '{ t[NR] = $1 } END { printf "./setup --quick: median %d ms, slowest %d ms of %d\n", t[int((NR + 1) / 2)], t[NR], NR }'
