#!/usr/bin/env bash
# Two computers kept in step by a real Syncthing: two Syncthing daemons, each
# with a home of its own, on 127.0.0.1 only (no discovery, no relays, no NAT,
# no usage reports or upgrades), share one folder; Kovara A keeps its data in
# step through A's copy of the folder, Kovara B through B's. A prayer item
# saved on A shows in B's prayer journal.
# Exits 77 (skipped) when syncthing is not installed; every process it
# started is ended, also when it fails.
# Usage: through_syncthing.sh <path to kovara>
set -u
if ! command -v syncthing >/dev/null 2>&1; then
  echo "syncthing is not installed: skipped"
  exit 77
fi
here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" != --inside ]; then
  exec "$here/../e2e/with_display.sh" "$0" --inside "$1"
fi
exe=$2
root=$(mktemp -d)
pids=()    # Kovara processes
daemons=() # Syncthing daemons, each the leader of a process group of its own
stop_kovara() {
  for p in "${pids[@]}"; do kill -TERM "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  pids=()
}
stop_all() {
  stop_kovara
  for p in "${daemons[@]}"; do kill -TERM -- "-$p" 2>/dev/null; done
  for p in "${daemons[@]}"; do
    for _ in $(seq 1 50); do kill -0 "$p" 2>/dev/null || break; sleep 0.1; done
    kill -KILL -- "-$p" 2>/dev/null
    wait "$p" 2>/dev/null
  done
  daemons=()
}
trap 'stop_all; rm -rf "$root"' EXIT
# Ended from outside (a test time-out): the daemons, in sessions of their
# own, are ended all the same.
trap 'exit 1' TERM INT HUP
unset QT_QPA_PLATFORM
fail() {
  echo "$1"
  for f in "$root"/*.log; do echo "--- $f"; tail -n 40 "$f"; done
  exit 1
}

# Four free ports on 127.0.0.1: each daemon's GUI (REST) and sync listener.
read -r gui_a gui_b sync_a sync_b < <(python3 - <<'EOF'
import socket
socks = []
for _ in range(4):
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    socks.append(s)
print(" ".join(str(s.getsockname()[1]) for s in socks))
EOF
)

for name in A B; do
  mkdir -p "$root/$name/synced/.stfolder"
  syncthing generate --home="$root/st$name" --no-default-folder --skip-port-probing >"$root/st$name-generate.log" 2>&1 ||
    fail "syncthing generate failed for $name"
done
id_a=$(syncthing serve --home="$root/stA" --device-id) || fail "no device id for A"
id_b=$(syncthing serve --home="$root/stB" --device-id) || fail "no device id for B"

# Each daemon's config.xml: local addresses only, the other device, the folder.
configure() { # name, own gui port, own sync port, other's id, other's sync port
  python3 - "$root/st$1/config.xml" "$root/$1/synced" "$2" "$3" "$4" "$5" "key-$1" <<'EOF'
import sys
import xml.etree.ElementTree as ET
path, folder, gui, port, other, other_port, key = sys.argv[1:]
tree = ET.parse(path)
cfg = tree.getroot()
me = cfg.find("device").get("id")
gui_el = cfg.find("gui")
gui_el.find("address").text = "127.0.0.1:" + gui
gui_el.find("apikey").text = key
options = cfg.find("options")
def option(name, value):
    el = options.find(name)
    if el is None:
        el = ET.SubElement(options, name)
    el.text = value
option("listenAddress", "tcp://127.0.0.1:" + port)
for name in ("globalAnnounceEnabled", "localAnnounceEnabled", "relaysEnabled", "natEnabled", "startBrowser",
             "crashReportingEnabled", "restartOnWakeup"):
    option(name, "false")
option("urAccepted", "-1")
option("autoUpgradeIntervalH", "0")
option("reconnectionIntervalS", "1")
option("stunKeepaliveStartS", "0")
device = ET.SubElement(cfg, "device", id=other, name="other", compression="metadata", introducer="false")
ET.SubElement(device, "address").text = "tcp://127.0.0.1:" + other_port
folder_el = ET.SubElement(cfg, "folder", id="kovara", label="Kovara", path=folder, type="sendreceive",
                          rescanIntervalS="5", fsWatcherEnabled="true", fsWatcherDelayS="1")
ET.SubElement(folder_el, "filesystemType").text = "basic"
for d in (me, other):
    ET.SubElement(folder_el, "device", id=d)
ET.SubElement(folder_el, "markerName").text = ".stfolder"
ET.SubElement(folder_el, "fsync").text = "true"
tree.write(path)
EOF
}
configure A "$gui_a" "$sync_a" "$id_b" "$sync_b" || fail "could not configure A"
configure B "$gui_b" "$sync_b" "$id_a" "$sync_a" || fail "could not configure B"

for name in A B; do
  STNODEFAULTFOLDER=1 STNOUPGRADE=1 STNORESTART=1 setsid syncthing serve --home="$root/st$name" --no-browser \
    --no-restart --no-upgrade >"$root/st$name.log" 2>&1 &
  daemons+=($!)
done
rest() { # gui port, key, path
  curl -s --max-time 2 -H "X-API-Key: $2" "http://127.0.0.1:$1$3"
}
sees() { # gui port, key, the other's device id
  rest "$1" "$2" /rest/system/connections 2>/dev/null | python3 -c '
import json, sys
try:
    sys.exit(0 if json.load(sys.stdin)["connections"][sys.argv[1]]["connected"] else 1)
except (ValueError, KeyError):
    sys.exit(1)' "$3"
}
# Both daemons answer and see each other (a first start migrates a new
# database, which takes a while on a busy machine).
connected=
for _ in $(seq 1 300); do
  if sees "$gui_a" key-A "$id_b" && sees "$gui_b" key-B "$id_a"; then
    connected=1; break
  fi
  sleep 0.2
done
[ -n "$connected" ] || fail "the two Syncthing daemons did not connect on 127.0.0.1"

. "$here/kovara_homes.sh"
for name in A B; do make_home $name "$root/$name/synced"; done

# A's files, made by A itself, then given a prayer item.
start A; wait_windows 1 || fail "the window did not appear"; stop_kovara
now=$(date +%s)
q A prayers.kova2 "INSERT INTO prayerTracker (prayerTitle, prayerTextData, prayerStatus, createTime, lastEditTime, previewText)
  VALUES ('Safe travel', CAST('{\rtf1 Keep us safe}' AS BLOB), 'Active', $now, $now, 'Keep us safe');"

start A; start B; wait_windows 2 || fail "the windows did not appear"
t0=$(date +%s%N)
shown=
for _ in $(seq 1 600); do
  if [ "$(q B prayers.kova2 "SELECT count(*) FROM prayerTracker WHERE prayerTitle='Safe travel'" 2>/dev/null)" = 1 ]; then
    shown=1; break
  fi
  sleep 0.2
done
[ -n "$shown" ] || { ls -laR "$root/A/synced" "$root/B/synced"; fail "A's prayer did not reach B through Syncthing within 120 s"; }
echo "ok: A's prayer reached B through Syncthing after $(( ($(date +%s%N) - t0) / 1000000 )) ms"
