#!/usr/bin/env bash
# The portable executables need nothing at run time but glibc: ldd lists only its libraries
# (X11 and Wayland are loaded by SDL when the program starts). Prints the glibc they need.
#   check_ldd.sh EXECUTABLE...
set -euo pipefail
glibc='^(linux-vdso\.so\.1|libc\.so\.6|libm\.so\.6|libpthread\.so\.0|libdl\.so\.2|librt\.so\.1|/lib64/ld-linux-x86-64\.so\.2|ld-linux-x86-64\.so\.2)$'
status=0
for exe in "$@"; do
  others="$(ldd "$exe" | awk '{ print $1 }' | grep -Ev "$glibc" || true)"
  if [ -n "$others" ]; then
    echo "FAIL: $exe needs more than glibc:"; echo "$others"; status=1
  fi
  need="$(objdump -T "$exe" | grep -o 'GLIBC_[0-9.]*' | sort -uV | tail -1)"
  echo "$(basename "$exe"): glibc only, at least ${need#GLIBC_}"
done
exit $status
