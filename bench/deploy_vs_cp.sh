#!/usr/bin/env bash
# Deploy against cp -a: makes a game tree of 2,000 files and about 300 MB in a temporary folder,
# then, round after round, deploys it with `k3x deploy` and copies it with `cp -a`, side by side,
# and prints each time with its ratio, then the best of each with theirs and the median ratio.
# The tree is removed at the end. On ext4 the times depend much on where the file system places
# new files (freshly freed inodes are slow to reuse), hence several rounds.
#
# usage: bench/deploy_vs_cp.sh [K3X] [ROUNDS]     (defaults: build/bin/k3x, 6 rounds)
set -euo pipefail
k3x=$(realpath "${1:-build/bin/k3x}")
rounds=${2:-6}
work=$(mktemp -d "${TMPDIR:-/tmp}/deploy-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# 40 folders of 50 files, 4 KiB to 300 KiB each (150 KiB on average), random bytes; a few
# tools and listed kinds at the top, as an installation folder holds them.
game=$work/GAME
for d in $(seq -w 1 40); do
  mkdir -p "$game/LEVEL$d"
  for f in $(seq -w 1 50); do
    size=$(( 4096 + (10#$d * 50 + 10#$f) * 7919 % 2000 * 150 ))
    head -c "$size" /dev/urandom > "$game/LEVEL$d/PART$f.DAT"
  done
done
for name in game.ini Player.dic Ormel2.ini Ormel2.dic Tessaro3D.dic SPLASH.BMP; do
  head -c 4096 /dev/urandom > "$game/$name"
done
files=$(find "$game" -type f | wc -l)
bytes=$(du -sb "$game" | cut -f1)
echo "tree: $files files, $(( bytes / 1000000 )) MB in $game"

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }'; }
smaller() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a < b) ? a : b }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# Each round writes into fresh folders and the order alternates, so that neither side pays
# more for what the other has just written or the file system has just freed.
deploy() { local start=$(now); summary=$(cd "$game" && "$k3x" deploy "$work/DEPLOYED$round"); t_deploy=$(elapsed "$start"); }
copy() { local start=$(now); cp -a "$game" "$work/COPIED$round"; t_cp=$(elapsed "$start"); }
best_deploy=; best_cp=; ratios=()
for round in $(seq 1 "$rounds"); do
  if (( round % 2 )); then sync; deploy; sync; copy; else sync; copy; sync; deploy; fi
  ratios+=("$(ratio "$t_deploy" "$t_cp")")
  echo "round $round: k3x deploy $t_deploy s, cp -a $t_cp s, ratio ${ratios[-1]}"
  best_deploy=$(smaller "$t_deploy" "$best_deploy")
  best_cp=$(smaller "$t_cp" "$best_cp")
done
echo "k3x: $summary"
median=$(printf '%s\n' "${ratios[@]}" | sort -n | awk '{ r[NR] = $1 } END { print (NR % 2) ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2 }')
echo "best of each: k3x deploy $best_deploy s, cp -a $best_cp s, ratio $(ratio "$best_deploy" "$best_cp"); median ratio $median"
