# Shared by the scripts: installing what is missing, on Debian 12 as root.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
JOBS=$(nproc 2>/dev/null || echo 2)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

apt_updated=
# Installs the Debian packages among "$@" that are not installed yet.
need_packages() {
  local missing=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}" >&2
  if [ -z "$apt_updated" ]; then
    as_root apt-get update -q >&2
    apt_updated=1
  fi
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" >&2
}

need_native_tools() {
  need_packages g++ cmake make libgtest-dev binutils libc-bin
}

# Configures and builds the native tree in build/NAME with the given CMake options.
build_native() {
  local name=$1
  shift
  cmake -S "$ROOT" -B "$ROOT/build/$name" -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
  cmake --build "$ROOT/build/$name" -j"$JOBS"
}

WINE_ENV=(WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=")

# Whether this machine executes 32-bit x86 programs: some kernels (without IA-32
# emulation, or in some virtual machines) refuse them, and then no 32-bit Wine can run.
can_run_i386() {
  need_packages binutils
  local dir
  dir=$(mktemp -d)
  printf '.globl _start\n_start:\n  movl $1, %%eax\n  xorl %%ebx, %%ebx\n  int $0x80\n' > "$dir/exit.s"
  as --32 -o "$dir/exit.o" "$dir/exit.s" && ld -m elf_i386 -o "$dir/exit" "$dir/exit.o" || { rm -rf "$dir"; return 1; }
  local rc=0
  "$dir/exit" 2>/dev/null || rc=$?
  rm -rf "$dir"
  return $rc
}

# Installs Wine for the given build ("win32" or "win64") and sets WINE to its loader.
need_wine() {
  if [ "$1" = win32 ]; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      as_root dpkg --add-architecture i386
      apt_updated=
    fi
    need_packages wine32:i386 wine xvfb xauth
    WINE=wine
  else
    need_packages wine64 wine xvfb xauth
    WINE=/usr/lib/wine/wine64
  fi
}

# The server that goes with a Wine loader.
wineserver_of() {
  if [ "$1" = wine ]; then echo wineserver; else echo /usr/lib/wine/wineserver64; fi
}

# Configures and builds a Windows tree: build/win32 (what ships) or build/win64 (tests only).
build_windows() {
  local name=$1
  if [ "$name" = win32 ]; then
    need_packages g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 cmake make
    cmake --preset win32 >/dev/null
  else
    need_packages g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64 cmake make
    cmake -S "$ROOT" -B "$ROOT/build/win64" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
  fi
  cmake --build "$ROOT/build/$name" -j"$JOBS" >/dev/null
}

# Which Windows build this machine can run under Wine.
wine_build() {
  if can_run_i386; then echo win32; else echo win64; fi
}
