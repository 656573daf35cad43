#!/usr/bin/env bash
# Installs what the fidelity bench (bench/fidelity) needs: LibreOffice Calc without a display
# and its Python bridge, the yardstick it drives, plus the PDF tools it scores with.
# Not needed to build, run or test the program.
exec "$(dirname "$0")/install-deps.sh" libreoffice-calc-nogui python3-uno poppler-utils ghostscript
