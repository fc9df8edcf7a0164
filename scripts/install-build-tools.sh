#!/usr/bin/env bash
# Installs the Debian packages that building and testing Brisko need, when
# they are missing. Safe to run again.
#   install-build-tools.sh          everything: host and Windows builds, Wine
#                                   (its 32-bit part too where the kernel
#                                   runs 32-bit programs)
#   install-build-tools.sh --host   only what the Linux build needs
#   install-build-tools.sh --fuzz   the Linux build and clang with libFuzzer
set -euo pipefail

# shellcheck source=scripts/lib/thirty-two-bit.sh
source "$(dirname "$0")/lib/thirty-two-bit.sh"

# ntfs-3g: the tests of brisko-scan on NTFS make and mount images with it
# (they are skipped without it).
packages=(cmake ninja-build g++ pkg-config googletest libgtest-dev libgmock-dev libhivex-dev ntfs-3g)
case "${1:-}" in
  "")
    packages+=(mingw-w64 wine64 xvfb imagemagick)
    # The 32-bit loader runs the i686 build; useless, and not installed,
    # where the kernel refuses every 32-bit program.
    if runs_32_bit_programs; then packages+=(wine32:i386 wine); fi
    ;;
  --host) ;;
  --fuzz) packages+=(clang libfuzzer-14-dev libclang-rt-14-dev) ;;
  *)
    echo "usage: $0 [--host|--fuzz]" >&2
    exit 2
    ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo[@]}" dpkg --add-architecture i386
fi
# One index out of step must not stop the install: what it needs is usually there.
"${sudo[@]}" apt-get update || echo "apt-get update reported a problem; going on with the indexes we have"
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
