# Sourced by every script that runs Windows programs: picks the Wine this machine can run and
# exports the settings all our Wine runs share.
#   DIZO_WINE_ARCH   win32 when the kernel runs 32-bit programs (32-bit Wine), else win64;
#                    preset it to choose. A win64 prefix still runs 32-bit programs where it can.
#   DIZO_WINE_LOADER the loader for that prefix kind; bin/ (put first on PATH) makes "wine",
#                    and so wineboot, winepath and the like, use it: Debian's "wine" takes the
#                    32-bit loader whenever it is installed, even where it cannot start.
_dizo_wine_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if [ -z "${DIZO_WINE_ARCH:-}" ]; then
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then DIZO_WINE_ARCH=win32; else DIZO_WINE_ARCH=win64; fi
fi
if [ "$DIZO_WINE_ARCH" = win32 ]; then
  DIZO_WINE_LOADER=/usr/lib/wine/wine
else
  DIZO_WINE_LOADER=/usr/lib/wine/wine64
fi
export DIZO_WINE_ARCH DIZO_WINE_LOADER WINEARCH="$DIZO_WINE_ARCH" WINELOADER="$DIZO_WINE_LOADER"
case ":$PATH:" in *":$_dizo_wine_dir/bin:"*) ;; *) export PATH="$_dizo_wine_dir/bin:$PATH" ;; esac
# Quiet, and no Mono or Gecko installers: they would ask for a display and wait for an answer.
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# The build's preset whose Windows programs this Wine runs.
if [ "$DIZO_WINE_ARCH" = win32 ]; then DIZO_WINE_PRESET=win32; else DIZO_WINE_PRESET=win64; fi
export DIZO_WINE_PRESET
