# Set-up shared by the test command and the main job (sourced from the project's
# root): Debian packages through apt, and the Python that builds and runs the module.

have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

apt_updated=0
apt_update_once() {
  if [ "$apt_updated" = 0 ]; then
    apt-get update -qq
    apt_updated=1
  fi
}

# apt_install PKG...: installs those of the packages that are not installed yet.
apt_install() {
  local missing=() p
  for p in "$@"; do have_pkg "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  apt_update_once
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# apt_known PKG: whether apt can install the package.
apt_known() {
  apt_update_once
  apt-cache show "$1" 2>/dev/null | grep -q '^Package:'
}

# BLAKE3: the C library where Debian has it, else its C sources (Debian 12, 13).
install_blake3() {
  have_pkg libblake3-dev || have_pkg librust-blake3-dev && return 0
  if apt_known libblake3-dev; then apt_install libblake3-dev; else apt_install librust-blake3-dev; fi
}

# use_python: makes `python3` (and the cmake, ninja and pytest installed beside it)
# the Python that installs go to. An active virtual environment, or a python3 that
# accepts installs, is used as it is. A python3 without pip, or one marked
# externally managed (Debian's own), gets the project's virtual environment .venv,
# made here, its venv module through apt when missing, and put first on PATH. The
# Python headers come through apt when the interpreter has none.
use_python() {
  if [ -z "${VIRTUAL_ENV:-}" ] && ! python3 - 2>/dev/null <<'PY'
import os, sys, sysconfig
import pip  # noqa: F401  (no pip: no installs)
marked = os.path.isfile(os.path.join(sysconfig.get_path("stdlib"), "EXTERNALLY-MANAGED"))
sys.exit(1 if marked and sys.prefix == sys.base_prefix else 0)
PY
  then
    if [ -x .venv/bin/python3 ]; then
      echo "python3 does not accept installs: using the virtual environment .venv"
    else
      echo "python3 does not accept installs: making the virtual environment .venv and using it"
      if ! python3 -m venv .venv >/dev/null 2>&1; then
        rm -rf .venv
        apt_install python3-venv
        python3 -m venv .venv
      fi
    fi
    export PATH="$PWD/.venv/bin:$PATH"
  fi
  local include
  include=$(python3 -c 'import sysconfig; print(sysconfig.get_paths()["include"])')
  [ -f "$include/Python.h" ] || apt_install python3-dev
  export PIP_ROOT_USER_ACTION=ignore PIP_DISABLE_PIP_VERSION_CHECK=1
}
