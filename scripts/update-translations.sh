#!/usr/bin/env bash
# Brings the translation sources up to date with the texts the code marks for
# translation; run it after adding or changing such a text. Translations
# already made are kept; new texts start unfinished, and test_translations
# fails until they are translated in every catalogue.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
for ts in "$ROOT"/orlo/resources/translations/kavo_*.ts; do
  # No "same text" guesses: lrelease would ship them as translations.
  lupdate "$ROOT/orlo/src" -ts "$ts" -no-obsolete -locations none -disable-heuristic sametext
done
