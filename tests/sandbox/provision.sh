#!/bin/bash
# Run as root inside a new sandbox, once, before anything else: what differs from one sandbox to
# the next on top of the base layer (base-layer.sh).
# Arguments: the repository state (see the sandbox script), and "external" when the caller's
# X server is used instead of an Xvfb of our own.
set -euo pipefail
state=$1 x_server=${2:-}
export LANG=C.UTF-8

hostname astra-sbx
echo "127.0.1.1 astra-sbx" >>/etc/hosts
ip link set lo up

# X display :99 as on a desktop where installer is logged in: its cookie is known to the server
# and to installer. target has an X authority file from a session of its own on another display,
# so it reaches :99 only when it is let in.
if [ "$x_server" != external ]; then
  cookie=$(mcookie)
  xauth -q -f /etc/sivrant-sbx/Xauthority add astra-sbx/unix:99 MIT-MAGIC-COOKIE-1 "$cookie"
  xauth -q -f /home/installer/.Xauthority add astra-sbx/unix:99 MIT-MAGIC-COOKIE-1 "$cookie"
fi
xauth -q -f /home/target/.Xauthority add astra-sbx/unix:0 MIT-MAGIC-COOKIE-1 "$(mcookie)"
for user in installer target; do
  touch "/home/$user/.Xauthority"
  chown "$user:" "/home/$user/.Xauthority"
  chmod 600 "/home/$user/.Xauthority"
done

if ! apt-get update -q >/var/log/sivrant-apt-update.log 2>&1; then
  cat /var/log/sivrant-apt-update.log >&2
  exit 1
fi
case $state in
  must-update | not-supported)
    DEBIAN_FRONTEND=noninteractive dpkg -i /srv/sivrant-pool/wine_8.19_amd64.deb >/dev/null
    ;;
esac

if [ "$x_server" != external ]; then
  Xvfb :99 -auth /etc/sivrant-sbx/Xauthority -nolisten tcp -noreset -screen 0 1024x768x24 \
    >/var/log/Xvfb.log 2>&1 &
  for _ in $(seq 400); do
    [ -S /tmp/.X11-unix/X99 ] && break
    sleep 0.025
  done
  if [ ! -S /tmp/.X11-unix/X99 ]; then
    cat /var/log/Xvfb.log >&2
    exit 1
  fi
fi
