#!/usr/bin/env bash
# Writes staff.xlsx and staff.ods from staff.fods with a real spreadsheet program (LibreOffice Calc,
# Debian's libreoffice-calc-nogui), as a clerk's program saves them. Run by hand; the files are kept.
set -euo pipefail
cd "$(dirname "$0")"
for format in xlsx ods; do
    soffice --headless --convert-to "$format" --outdir . staff.fods
done
