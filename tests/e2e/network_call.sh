#!/usr/bin/env bash
# A call on a chosen network connection, with a real interface that is never the machine's own: the
# test makes a network namespace of its own and runs the X server, Wine's server and tollwick.exe
# inside it (Wine answers the interface table from its server's namespace), makes a veth pair there,
# moves bytes across it and brings it down. The call starts within a second of the link coming up,
# is billed to the alias's profile with the bytes the kernel counted, and ends with the link.
set -euo pipefail
if [ -z "${TOLLWICK_NETNS:-}" ]; then
  netns=tollwick-e2e-$$
  if ! command -v ip >/dev/null 2>&1 || ! ip netns add "$netns" 2>/dev/null; then
    echo "SKIPPED: cannot make a network namespace (needs ip and the right to make one)"
    exit 77
  fi
  # Deleting the namespace takes the veth pair with it.
  trap 'ip netns delete "$netns" 2>/dev/null || true' EXIT
  status=0
  TOLLWICK_NETNS=$netns ip netns exec "$netns" bash "$0" "$@" || status=$?
  exit "$status"
fi
source "$(dirname "$0")/lib.sh"

senders=()
trap 'for pid in "${senders[@]}"; do kill "$pid" 2>/dev/null || true; done
      ip link delete tw0 2>/dev/null || true; cleanup' EXIT

# Nothing but the test's own frames may cross the pair: no IPv6 autoconfiguration on it.
sysctl -qw net.ipv6.conf.default.disable_ipv6=1
ip link add tw0 type veth peer name tw1
ip addr add 10.77.0.1/24 dev tw0
counter() { cat "/sys/class/net/tw0/statistics/$1_bytes"; }
now() { date +%s.%N; }
later_than() { python3 -c "import sys; sys.exit(float(sys.argv[1]) <= float(sys.argv[2]))" "$1" "$2"; }

rassim reset
reg_add 'HKLM\Software\Orvo\Tollwick' /v Adapters /t REG_MULTI_SZ /d tw0
# The alias's own profile has a minimum charge that .Default lacks, so the cost shows which billed.
store_rates ".Default" 0 0 0.60 0.60 0.60 0 0
store_rates "tw0" 0 0 0.60 0.60 0.60 1 0.77
start_tollwick
check_eq "$(reg_value "CurCall" "" | grep -c 0x1 || true)" "0" "no call while the link is down"

received0=$(counter rx)
sent0=$(counter tx)
up_at=$(now)
ip link set tw1 up
ip link set tw0 up
# A query that began more than a second after the link came up and still found no call proves the
# start late; the marker is written as the call starts.
while :; do
  asked_at=$(now)
  [ "$(reg_value "CurCall" "")" = "REG_DWORD 0x1" ] && break
  if later_than "$asked_at" "$(python3 -c "print($up_at + 1.0)")"; then
    fail "no call more than a second after the link came up"
  fi
done

# Frames of a local experimental EtherType at a steady rate, until the link goes down: tw1's reach
# tw0 as received bytes, tw0's own leave as sent ones.
send_frames() {  # interface frame-bytes
  python3 - "$@" <<'PY' &
import socket, sys, time
name, size = sys.argv[1], int(sys.argv[2])
s = socket.socket(socket.AF_PACKET, socket.SOCK_RAW)
s.bind((name, 0))
frame = b"\xff" * 6 + b"\x02\x00\x00\x00\x00\x01" + b"\x88\xb5" + bytes(size - 14)
deadline = time.time() + 60
while time.time() < deadline:
    try:
        s.send(frame)
    except OSError:
        break
    time.sleep(0.01)
PY
  senders+=($!)
}
send_frames tw1 1000
send_frames tw0 600
enough() { [ $(( $(counter rx) - received0 )) -ge 200000 ] && [ $(( $(counter tx) - sent0 )) -ge 120000 ]; }
within 30 enough || fail "the frames did not cross the pair"

ip link set tw0 down
wait_reg ".Bill" "" "REG_DWORD 0x1" 5 "the call billed when the link went down"
for pid in "${senders[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
senders=()
received=$(( $(counter rx) - received0 ))
sent=$(( $(counter tx) - sent0 ))

hex=$(bill_item 0)
check_eq "$(hex_text "$hex" 4 100)" "tw0" "the account is the alias"
near "$(hex_f32 "$hex" 0)" 0.77 || fail "cost $(hex_f32 "$hex" 0), not the alias's minimum charge"
check_eq "${#hex}" "512" "the item holds its volume"
le_u64() { python3 -c "import struct,sys; print(struct.unpack('<Q', bytes.fromhex(sys.argv[1][int(sys.argv[2])*2:int(sys.argv[2])*2+16]))[0])" "$1" "$2"; }
billed_received=$(le_u64 "$hex" 240)
billed_sent=$(le_u64 "$hex" 248)
# The call reads the counters once a counted second: what moved after its last reading (a second at
# the senders' rates, about 100 and 60 frames) is the most it may lack.
python3 -c "import sys
br, bs, kr, ks = map(int, sys.argv[1:])
sys.exit(0 if kr - 100 * 1000 <= br <= kr and ks - 100 * 600 <= bs <= ks else 1)" \
  "$billed_received" "$billed_sent" "$received" "$sent" ||
  fail "billed $billed_received received and $billed_sent sent; the kernel counted $received and $sent"
check_eq "$(reg_value "CurCall" "")" "REG_DWORD 0x0" "the marker afterwards"

exit_tollwick
echo PASS
