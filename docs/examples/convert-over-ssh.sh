#!/bin/sh
# Spreads a conversion over the machines listed in ./hosts (one ssh login a line, GNU parallel's
# --sshloginfile format) with GNU parallel: one share for each machine, all reading and writing
# one shared folder (here /srv/workbooks, mounted at the same path everywhere, so that every
# machine sorts the same list of sources).
#   ./convert-over-ssh.sh
set -e
shares=$(grep -c . hosts)
mkdir -p /srv/workbooks/results
seq 1 "$shares" | parallel --sshloginfile hosts -j1 --line-buffer --tag \
    korvendal-xl-convert /srv/workbooks/in --recursive --output-dir /srv/workbooks/out \
    --shard {}/"$shares" --skip-existing --quiet --results /srv/workbooks/results/shard-{}.jsonl
