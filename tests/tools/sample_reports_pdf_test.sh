#!/usr/bin/env bash
# Every report of the bundled project, run by the report tool into a PDF on the sample lexicon, has
# its pages, its unit names and its page numbers as text.
set -euo pipefail
tools=$1
sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tools/vorl_db" sample "$work/db" >/dev/null
config="$work/db/engine.ini"
report() {  # name, root option..., then the PDF's path is printed
  local name=$1; shift
  local pdf="$work/$name.pdf"
  "$tools/vorl_report" --project "$sample/reports/VORL.rpd" --config "$config" --report "$name" "$@" --output "$pdf" \
    > "$work/$name.log"
  grep -q '^Generating page 1$' "$work/$name.log" || { echo "$name: no progress shown"; exit 1; }
  echo "$pdf"
}
pages() { pdfinfo "$1" | awk '/^Pages:/ {print $2}'; }
# Whole texts are read first: grep -q stopping early would break the pipe under pipefail.
expect_text() {  # pdf, text
  pdftotext -layout "$1" "$work/text"
  grep -qF -- "$2" "$work/text" || { echo "$(basename "$1"): \"$2\" missing"; exit 1; }
}

# The hierarchy from every top-level unit: several pages, each numbered "Page N of M".
pdf=$(report Hierarchy --all)
count=$(pages "$pdf")
[ "$count" -ge 3 ] || { echo "Hierarchy: only $count pages"; exit 1; }
for page in $(seq 1 "$count"); do
  pdftotext -f "$page" -l "$page" "$pdf" "$work/page"
  grep -qF "Page $page of $count" "$work/page" || { echo "Hierarchy: page $page unnumbered"; exit 1; }
done
expect_text "$pdf" "Karoo Supergroup"
expect_text "$pdf" "Teekloof Formation"

# The unit sheet of one unit (Karoo Supergroup) shows its sub-units and its description.
code=$(awk -F"\t" '$2 == "Karoo Supergroup" {print $1; exit}' "$sample/lexicon/VORLLIST.tsv")
pdf=$(report UnitSheet --unit "$code")
expect_text "$pdf" "Karoo Supergroup"
expect_text "$pdf" "Beaufort Group"

for name in Occurrence DataCheck CodeList; do
  pdf=$(report "$name" --all)
  [ "$(pages "$pdf")" -ge 1 ] || { echo "$name: no pages"; exit 1; }
done

# Faults end with one line and a non-zero status.
fails() {  # expected message, arguments...
  local expected=$1; shift
  if "$tools/vorl_report" --config "$config" "$@" > "$work/out" 2> "$work/err"; then echo "no failure: $*"; exit 1; fi
  grep -qF -- "$expected" "$work/err" || { echo "wrong message for $*: $(cat "$work/err")"; exit 1; }
}
fails "does not exist" --project "$work/absent.rpd" --report Hierarchy --all --output "$work/x.pdf"
fails "has no report" --project "$sample/reports/VORL.rpd" --report Nothing --all --output "$work/x.pdf"
fails "no unit has the code" --project "$sample/reports/VORL.rpd" --report UnitSheet --unit 987654321 --output "$work/x.pdf"
fails "Cannot write" --project "$sample/reports/VORL.rpd" --report CodeList --all --output "$work/none/x.pdf"
sed 's/Connection="RPdscList2"/Connection="RPdscNowhere"/' "$sample/reports/VORL.rpd" > "$work/lost.rpd"
fails 'Could not open data connection "RPdscNowhere"' --project "$work/lost.rpd" --report Hierarchy --all --output "$work/x.pdf"
echo "sample reports: all checked"
