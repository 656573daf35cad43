#!/bin/sh
# Joins the results files of the shards of a batch into one, prints a summary, and converts the
# failed workbooks again on this machine through a manifest (for failures that a retry may
# mend, such as a machine that ran out of memory).
#   ./join-results.sh RESULTS_FOLDER
set -e
folder=${1:?usage: join-results.sh RESULTS_FOLDER}
cat "$folder"/shard-*.jsonl > "$folder/all.jsonl"
jq -s 'group_by(.status) | map({status: .[0].status, workbooks: length, pages: (map(.pages) | add)})' \
    "$folder/all.jsonl"
jq -r 'select(.status == "failed") | [.source, .message] | @tsv' "$folder/all.jsonl"
jq -r 'select(.status == "failed") | [.source, .target] | @tsv' "$folder/all.jsonl" > "$folder/retry.tsv"
if [ -s "$folder/retry.tsv" ]; then
    korvendal-xl-convert --manifest "$folder/retry.tsv" --results "$folder/retry.jsonl" || true
fi
