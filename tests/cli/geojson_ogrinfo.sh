#!/bin/sh
# An exported GeoJSON read by GDAL's ogrinfo: no warning, and as many features as the export
# wrote (every place, each result with its path, each contour). Skipped without ogrinfo.
set -eu
cli=$1
sample=$2
list=${3:-}
command -v ogrinfo >/dev/null 2>&1 || { echo "ogrinfo is not installed"; exit 77; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

places=$("$cli" places "$sample" | awk -F';' 'NR > 1 && $0 == "" { exit } NR > 1 { n++ } END { print n }')

check() { # file, expected feature count
  ogrinfo -ro -al -so "$1" >"$dir/out" 2>"$dir/err"
  if [ -s "$dir/err" ] || grep -qi warning "$dir/out"; then
    echo "ogrinfo warned about $1:"; cat "$dir/err" "$dir/out"; exit 1
  fi
  got=$(sed -n 's/^Feature Count: //p' "$dir/out")
  [ "$got" = "$2" ] || { echo "$1: ogrinfo counts $got features, expected $2"; cat "$dir/out"; exit 1; }
  grep -q 'GEOGCRS\["WGS 84"' "$dir/out" || { echo "$1: not read as WGS 84"; exit 1; }
}

# One centre with two contour levels: the places, the optimum, its path, the contours.
"$cli" export "$sample" --format geojson --out "$dir/one.geojson" --contours 1,5 >"$dir/said"
contours=$(sed -n 's/.*result, \([0-9]*\) contours$/\1/p' "$dir/said")
[ -n "$contours" ] && [ "$contours" -ge 2 ] || { echo "expected contours: $(cat "$dir/said")"; exit 1; }
check "$dir/one.geojson" $((places + 2 + contours))

# Three groups proposed and stored: a point and a path per group.
"$cli" groups "$sample" --centres 3 --out "$dir/groups.mzd" >/dev/null
"$cli" export "$dir/groups.mzd" --groups --format geojson --out "$dir/groups.geojson" >"$dir/said"
grep -q ": $places places, 3 results$" "$dir/said" || { cat "$dir/said"; exit 1; }
check "$dir/groups.geojson" $((places + 6))
# The groups of a place list (the sample project's own list): a point per place and per centre.
if [ -n "$list" ]; then
  "$cli" groups "$list" --centres 3 --quiet --time-limit 2 --threads 1 --out "$dir/list.geojson" >/dev/null
  check "$dir/list.geojson" $((places + 3))
  grep -q '^kind: String' "$dir/out" && grep -q '^group: Integer' "$dir/out" \
    || { echo "list.geojson: kind and group fields expected"; cat "$dir/out"; exit 1; }
fi
echo "ogrinfo read every export: $places places"
