#!/usr/bin/env bash
# A newcomer's first command: installs what is missing, builds, creates a demo installation with
# a pharmacy's data in ./demo and shows a book: the window when there is a display; otherwise the
# command-line tool builds the classic book and the three revised books, exports their PDFs and
# prints the classic listing.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$(pwd)"
./scripts/install-deps.sh
. scripts/firebird-group.sh "$@"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j"$(nproc)" --target livros livros-cli

DEMO="$ROOT/demo"
export QUILMARA_HOME="$DEMO"                  # the demo folder is program folder and suite folder
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
export LC_ALL=C.UTF-8 LANG=C.UTF-8            # the shell's own locale; the programs get pt_BR below
BR=(env LC_ALL=pt_BR.UTF-8 LANGUAGE=pt_BR)    # a Brazilian workstation's numbers and dates
"${BR[@]}" build/cli/livros-cli demo "$DEMO" --force | tee "$ROOT/build/demo.txt"
STORE=$(sed -n 's/.*lojas (TABLAB): \([0-9A-Z]*\).*/\1/p' "$ROOT/build/demo.txt")
[ -n "$STORE" ] || { echo "demo: nenhuma loja na saída da demonstração (build/demo.txt)" >&2; exit 1; }

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ "${LIVROS_DEMO_NO_WINDOW:-}" = "" ]; then
  echo "Abrindo a janela com os dados de demonstração (escolha uma loja, depois um livro; \"Sair\" fecha)."
  exec "${BR[@]}" "$DEMO/livros"
fi

CLI=("${BR[@]}" "$DEMO/livros-cli" --folder "$DEMO")
echo
echo "Sem tela: os livros da loja $STORE construídos com o livros-cli nas datas do PERIODO."
"${CLI[@]}" classic --group 2 --cnpj "$STORE" --listing "$DEMO/livro-classico.txt"
"${CLI[@]}" export --book CLASSIC --cnpj "$STORE" --pdf "$DEMO/livro-classico.pdf"
for MODE in DROGARIA INSUMOSCOMPLETO SIPROQUIM; do
  "${CLI[@]}" revised --mode "$MODE" --cnpj "$STORE"
  "${CLI[@]}" export --book "$MODE" --cnpj "$STORE" --pdf "$DEMO/livro-$(echo "$MODE" | tr 'A-Z' 'a-z').pdf"
done
cat "$DEMO/livro-classico.txt"
echo
echo "Os livros em PDF:"
ls -1 "$DEMO"/livro-*.pdf
