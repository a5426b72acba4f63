#!/usr/bin/env bash
# Wine's loader (WINE_LOADER) with the address space laid out the same at
# every start; e2e_lib.sh starts Wine through it where the system allows
# that. Debian's wine64 comes without Wine's preloader, the piece that keeps
# the addresses Windows expects free before anything else maps there: the
# loader sits at 0x7d000000, and the kernel puts its heap up to 1 GB above
# that, at random. About one start in a few thousand, the heap covers
# 0x7ffe0000, where Wine maps the shared user data, and the process dies
# before it runs ("failed to map the shared user data", exit code 1). With
# randomisation off, the heap always starts right above the loader.
exec setarch "$(uname -m)" -R "${WINE_LOADER:-/usr/lib/wine/wine64}" "$@"
