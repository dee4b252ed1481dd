#!/usr/bin/env bash
# The set-up's editing of the apt sources, on copies in both formats: contrib joins main
# on Debian's lines and stanzas, once, and nothing else changes.
set -euo pipefail
. "$(dirname "$0")/../tools/setup.sh"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/etc/apt/sources.list.d"
cat > "$root/etc/apt/sources.list" <<'END'
# deb http://deb.debian.org/debian bookworm main
deb http://deb.debian.org/debian bookworm main non-free-firmware
deb-src [arch=amd64] http://ftp.jp.debian.org/debian/ bookworm-updates main
deb http://security.debian.org/debian-security bookworm-security main contrib
deb https://download.example.com/linux/debian bookworm stable
END
cat > "$root/etc/apt/sources.list.d/debian.sources" <<'END'
Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main non-free-firmware
END
expected_list='# deb http://deb.debian.org/debian bookworm main
deb http://deb.debian.org/debian bookworm main contrib non-free-firmware
deb-src [arch=amd64] http://ftp.jp.debian.org/debian/ bookworm-updates main contrib
deb http://security.debian.org/debian-security bookworm-security main contrib
deb https://download.example.com/linux/debian bookworm stable'
expected_sources='Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main contrib
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main contrib non-free-firmware'
status=0
for pass in 1 2; do  # the second pass must change nothing
  akari_enable_contrib "$root"
  if [ "$(cat "$root/etc/apt/sources.list")" != "$expected_list" ]; then
    echo "pass $pass: sources.list is"; cat "$root/etc/apt/sources.list"; status=1
  fi
  if [ "$(cat "$root/etc/apt/sources.list.d/debian.sources")" != "$expected_sources" ]; then
    echo "pass $pass: debian.sources is"; cat "$root/etc/apt/sources.list.d/debian.sources"
    status=1
  fi
done
exit $status
