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
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
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
