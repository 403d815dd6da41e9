#!/usr/bin/env bash
# Installs the build into a scratch root and checks what lands there as the desktop tools would.
#   check-install.sh <build folder>
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
share=$root/usr/share
for f in usr/bin/sonorell usr/bin/sonorell-cdplay \
         usr/share/applications/sonorell.desktop \
         usr/share/metainfo/net.dravenholt.sonorell.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/sonorell.svg; do
  [ -e "$root/$f" ] || { echo "not installed: $f"; exit 1; }
done
for side in 16 22 24 32 48 64 128 256; do
  png=$share/icons/hicolor/${side}x${side}/apps/sonorell.png
  [ -s "$png" ] || { echo "no ${side}px icon"; exit 1; }
  python3 - "$png" "$side" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read(24)
assert data[:8] == b'\x89PNG\r\n\x1a\n', 'not a PNG'
w, h = struct.unpack('>II', data[16:24])
assert (w, h) == (int(sys.argv[2]),) * 2, f'{w}x{h}'
PY
done
desktop-file-validate "$share/applications/sonorell.desktop"
grep -qx 'Exec=sonorell %F' "$share/applications/sonorell.desktop"
appstreamcli validate --no-net --explain "$share/metainfo/net.dravenholt.sonorell.metainfo.xml"
echo "installation checked"
