# Shared by the scripts: installing what is missing, on Debian 12 as root.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
JOBS=$(nproc 2>/dev/null || echo 2)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Runs apt-get as root. A package manager that holds apt's lock (a fresh machine often runs
# its own updates at first boot) is waited for, up to 15 minutes, instead of failing on it.
apt_get() {
  local log deadline=$((SECONDS + 900)) rc
  log=$(mktemp)
  while :; do
    rc=0
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=60 "$@" >"$log" 2>&1 || rc=$?
    if [ "$rc" -ne 0 ] && [ "$SECONDS" -lt "$deadline" ] &&
      grep -qE 'Could not get lock|Unable to acquire the dpkg frontend lock|Unable to lock' "$log"; then
      echo "apt is busy: another package manager holds its lock; waiting" >&2
      sleep 5
      continue
    fi
    cat "$log" >&2
    rm -f "$log"
    return "$rc"
  done
}

apt_updated=
# Installs the Debian packages among "$@" that are not installed yet, without the packages
# they merely recommend.
need_packages() {
  local missing=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}" >&2
  if [ -z "$apt_updated" ]; then
    apt_get update -q
    apt_updated=1
  fi
  apt_get install -y -q --no-install-recommends "${missing[@]}"
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
# emulation) and some virtual machines refuse them, and then no 32-bit Wine can start here;
# the Wine tests then run in the 32-bit test machine (tools/i386vm/run). Found out once per
# script, by running a three-instruction program.
i386_runs=
can_run_i386() {
  if [ -z "$i386_runs" ]; then
    need_packages binutils
    local dir
    dir=$(mktemp -d)
    printf '.globl _start\n_start:\n  movl $1, %%eax\n  xorl %%ebx, %%ebx\n  int $0x80\n' >"$dir/exit.s"
    i386_runs=no
    if as --32 -o "$dir/exit.o" "$dir/exit.s" && ld -m elf_i386 -o "$dir/exit" "$dir/exit.o" &&
      "$dir/exit" 2>/dev/null; then
      i386_runs=yes
    fi
    rm -rf "$dir"
  fi
  [ "$i386_runs" = yes ]
}

# Where the 32-bit Wine runs here, as the Windows stage names it.
wine_place() {
  if can_run_i386; then echo "32-bit Wine on this machine"; else echo "32-bit Wine in a virtual machine"; fi
}

# Installs the host's own 32-bit Wine (where it can run) and makes its prefix in
# build/win32/wineprefix once; sets WINEPREFIX.
need_host_wine() {
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    apt_updated=
  fi
  need_packages wine32:i386 wine fonts-wine xvfb xauth
  export WINEPREFIX="$ROOT/build/win32/wineprefix"
  if [ ! -f "$WINEPREFIX/.made" ]; then
    env "${WINE_ENV[@]}" xvfb-run -a sh "$ROOT/tools/wine/make-prefix" >&2
    touch "$WINEPREFIX/.made"
  fi
}

# Runs the shell command line COMMAND under 32-bit Wine in the folder DIR: here, where this
# machine runs 32-bit programs, else in the 32-bit test machine.
#   run_in_wine DIR COMMAND
run_in_wine() {
  if can_run_i386; then
    need_host_wine
    (cd "$1" && env "${WINE_ENV[@]}" xvfb-run -a sh -c "$2")
  else
    bash "$ROOT/tools/i386vm/run" "$1" "$2"
  fi
}

# Configures and builds the Windows tree build/win32: the DLL and its 32-bit test programs.
build_windows() {
  need_packages g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 cmake make
  cmake --preset win32 >/dev/null
  cmake --build "$ROOT/build/win32" -j"$JOBS" >/dev/null
}

# Makes the release from the Windows tree BUILD in the folder OUT: Zavrik.dll, SHA256SUMS and
# Zavrik-VERSION-win32.zip with the DLL, zavrik-sim.exe, INSTALL.txt and SHA256SUMS. The same
# sources give the same bytes: fixed times, modes and order, no extra fields.
#   make_release BUILD OUT
make_release() {
  local build=$1 out=$2 version files=(Zavrik.dll zavrik-sim.exe INSTALL.txt SHA256SUMS)
  need_packages zip
  version=$(sed -n 's/^#define ZAVRIK_VERSION_TEXT "\(.*\)"$/\1/p' "$ROOT/plugin/version.h")
  rm -rf "$out"
  mkdir -p "$out/stage"
  cp "$build/Zavrik.dll" "$out/Zavrik.dll"
  cp "$build/Zavrik.dll" "$build/zavrik-sim.exe" "$out/stage/"
  sed "s/@VERSION@/$version/g" "$ROOT/plugin/INSTALL.txt" | sed 's/$/\r/' >"$out/stage/INSTALL.txt"
  (cd "$out/stage" && sha256sum Zavrik.dll zavrik-sim.exe INSTALL.txt >SHA256SUMS)
  cp "$out/stage/SHA256SUMS" "$out/SHA256SUMS"
  (cd "$out/stage" && chmod 644 "${files[@]}" &&
    TZ=UTC touch -t 202601010000 "${files[@]}" &&
    TZ=UTC zip -q -X -D -9 "$out/Zavrik-$version-win32.zip" "${files[@]}")
  rm -rf "$out/stage"
}
