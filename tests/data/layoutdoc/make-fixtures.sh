#!/bin/sh
# The fixtures are kept as written on the original platform, with CR LF line ends. Each *.lf file
# below is the hand-written text of one fixture; this script gives it CR LF line ends, and makes
# the LF, CR-only and CR CR LF variants of the complete 2.453 document.
#   cd tests/data/layoutdoc && sh make-fixtures.sh
set -eu
for source in src/*.lf; do
    name=$(basename "$source" .lf)
    sed 's/$/\r/' "$source" > "$name.txt"
done
# A truncated document: the complete one cut just after the X field of PBarcode.
head -c "$(grep -bo '"PBarcode","PBarcode","700",' v2453-portrait.txt | cut -d: -f1)" v2453-portrait.txt > truncated.txt
printf '"PBarcode","PBarcode","700",' >> truncated.txt
cp src/v2453-portrait.lf v2453-portrait-lf.txt
tr '\n' '\r' < src/v2453-portrait.lf > v2453-portrait-cr.txt
sed 's/$/\r\r/' src/v2453-portrait.lf > v2453-portrait-crcrlf.txt
