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
ls -1 docs/reports
