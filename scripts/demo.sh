#!/usr/bin/env bash
# Installs what is missing, builds the application, writes a sample card into
# a demo home folder of its own (so the user's real settings are never
# touched) and starts orlo there on that card.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${ORLO_BUILD:-$ROOT/build}"

bash "$ROOT/scripts/install-deps.sh"

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORLO_BUILD_TESTS=OFF \
      -DORLO_BUILD_BENCHMARKS=OFF
cmake --build "$BUILD" --parallel "$(nproc)"

DEMO_HOME="$BUILD/demo-home"
CARD="$DEMO_HOME/SampleCard"
mkdir -p "$DEMO_HOME/ORLO"

# The sample card: two flights in big-endian record files, the second one
# going on in the high file LOG_8001.CAN with its Offset.xml. Written once, so
# that an offset changed in the window stays.
if [ ! -f "$CARD/LOG_0001.CAN" ]; then
  "$BUILD/orlo_samplecard" --output "$CARD" --messages 400000 --files 3
fi

# Seed the settings so that the window restores the card at start; a card
# the user opened since in the demo home is kept.
python3 - "$DEMO_HOME/ORLO/ORLO.ini" "$CARD" <<'PY'
import os, sys
import xml.etree.ElementTree as ET
ini, card = sys.argv[1], sys.argv[2]
root = ET.Element("KAVO")
if os.path.exists(ini):
    try:
        root = ET.parse(ini).getroot()
    except ET.ParseError:
        pass
last = [p for p in root.findall("Property") if p.get("id") == "LastPath"]
value = last[-1].get("value", "") if last else ""
if not (os.path.isabs(value) and os.path.isdir(value)):
    for p in last:
        root.remove(p)
    ET.SubElement(root, "Property", {"id": "LastPath", "value": card})
    props = sorted(root.findall("Property"), key=lambda p: p.get("id", "").encode())
    for p in list(root):
        root.remove(p)
    for p in props:
        root.append(p)
    ET.indent(root, space="    ")
    with open(ini + ".tmp", "w") as f:
        f.write(ET.tostring(root, encoding="unicode") + "\n")
    os.replace(ini + ".tmp", ini)
PY

cd "$BUILD"
if [ -z "${DISPLAY:-}" ]; then
  echo "No DISPLAY: starting under a virtual X server." >&2
  exec env HOME="$DEMO_HOME" xvfb-run -a ./orlo.app/Contents/MacOS/orlo "$@"
fi
exec env HOME="$DEMO_HOME" ./orlo.app/Contents/MacOS/orlo "$@"
