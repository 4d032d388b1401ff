#!/bin/bash
# Run as root inside a throwaway copy of the host while the base layer is built: turns it into the
# Astra Linux 1.8 desktop the wizard expects, as far as that is the same for every sandbox.
# Everything it writes seeds every sandbox; provision.sh does the rest at start.
set -euo pipefail
export LANG=C.UTF-8

# apt's Russian output, and users who work in a Russian locale.
localedef -i ru_RU -f UTF-8 ru_RU.UTF-8

# Identity. On Debian os-release is a link into /usr/lib: replace both.
rm -f /etc/os-release
cat >/etc/os-release <<'OSRELEASE'
PRETTY_NAME="Astra Linux"
NAME="Astra Linux"
ID=astra
ID_LIKE=debian
ANSI_COLOR="1;31"
LOGO=astra
VERSION_ID=1.8_x86-64
VERSION_CODENAME=1.8_x86-64
OSRELEASE
cp /etc/os-release /usr/lib/os-release

# Users: the host's own login users go, so that installer is 1000 and target 1001.
awk -F: '$3 >= 1000 && $3 < 60000 {print $1}' /etc/passwd | while read -r user; do
  userdel "$user" 2>/dev/null || true
done
useradd -m -s /bin/bash installer
useradd -m -s /bin/bash target
groupadd -f astra-admin
usermod -a -G astra-admin installer
echo "installer:instpass" | chpasswd
echo "target:targetpass" | chpasswd
echo "%astra-admin ALL=(ALL:ALL) ALL" >/etc/sudoers.d/astra-admin
chmod 440 /etc/sudoers.d/astra-admin
visudo -cq

# The stand-ins' state and call logs (the stand-ins themselves are installed from outside).
mkdir -p /etc/sivrant-sbx /var/log/sivrant-stubs
echo enabled >/etc/sivrant-sbx/ptrace-lock
for log in wine astra-ptrace-lock fly-wmfunc; do
  : >"/var/log/sivrant-stubs/$log.log"
  chmod 666 "/var/log/sivrant-stubs/$log.log"
done

# apt sees the local repository only (bound at /srv/sivrant-repo when a sandbox starts).
rm -rf /etc/apt/sources.list.d/* /var/lib/apt/lists/*
echo "deb [trusted=yes] file:/srv/sivrant-repo ./" >/etc/apt/sources.list
