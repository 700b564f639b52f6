#!/usr/bin/env bash
# `run32.sh COMMAND ...` runs a test that needs 32-bit code under wine (the 32-bit game, the
# installers in a 32-bit prefix) where this machine runs 32-bit programs; elsewhere it says
# so and exits 77, which ctest counts as skipped. (wine.installer tests the installer's
# 64-bit build there instead: installer.sh.)
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "SKIPPED: this machine does not run 32-bit programs (wine's 32-bit loader does not start)"
  exit 77
fi
exec "$@"
