#!/usr/bin/env bash
# Pictures of the printed books for reviewers: builds the demo installation's books with
# livros-cli, exports them to PDF and turns the first two pages of each into PNG files in
# docs/reports/ (pdftoppm, from poppler-utils).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$(pwd)"
LIVROS_DEMO_NO_WINDOW=1 ./scripts/demo.sh > /dev/null
DEMO="$ROOT/demo"
mkdir -p docs/reports
rm -f docs/reports/*.png
for BOOK in classico drogaria insumoscompleto siproquim; do
  pdftoppm -r 60 -png -f 1 -l 2 "$DEMO/livro-$BOOK.pdf" "docs/reports/$BOOK"
done

# The periodic forms of the same store: the balances of the quarter three months before the
# PERIODO month (within the demo's year, so its first day has an inventory) and the relations of
# the PERIODO month.
STORE=$(sed -n 's/.*lojas (TABLAB): \([0-9A-Z]*\).*/\1/p' "$ROOT/build/demo.txt")
PERIOD=$(sed -n 's/.*período (PERIODO): 01\/\([0-9]*\/[0-9]*\).*/\1/p' "$ROOT/build/demo.txt")
MONTH=${PERIOD%/*}
YEAR=${PERIOD#*/}
BACK=$((10#$MONTH - 3))
if [ "$BACK" -lt 1 ]; then BACK=$((BACK + 12)); QYEAR=$((YEAR - 1)); else QYEAR=$YEAR; fi
QUARTER="$(((BACK + 2) / 3))/$QYEAR"
CLI=(env QUILMARA_HOME="$DEMO" LC_ALL=pt_BR.UTF-8 "$DEMO/livros-cli" --folder "$DEMO")
for FORM in BSPO BMPO; do
  "${CLI[@]}" balance --form "$FORM" --quarter "$QUARTER" --cnpj "$STORE" --pdf "$DEMO/form-$FORM.pdf"
done
for FORM in RMNRA RMNRB2; do
  "${CLI[@]}" notifications --form "$FORM" --month "$PERIOD" --cnpj "$STORE" --pdf "$DEMO/form-$FORM.pdf"
done
for FORM in BSPO BMPO RMNRA RMNRB2; do
  pdftoppm -r 60 -png -f 1 -l 2 "$DEMO/form-$FORM.pdf" "docs/reports/$(echo "$FORM" | tr 'A-Z' 'a-z')"
done
ls -1 docs/reports
