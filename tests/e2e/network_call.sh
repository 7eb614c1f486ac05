#!/usr/bin/env bash
# A call on a chosen network connection, with a real interface that is never the machine's own: the
# test makes a network namespace of its own and runs the X server, Wine's server and tollwick.exe
# inside it (Wine answers the interface table from its server's namespace), makes a veth pair there,
# moves bytes across it and brings it down. The call starts within a second of the link coming up,
# is billed to the alias's profile with the bytes the kernel counted, and ends with the link.
set -euo pipefail
if [ -z "${TOLLWICK_NETNS:-}" ]; then
  netns=tollwick-e2e-$$
  # ip netns keeps namespaces under /run/netns, which it makes a mount point on first use: what
  # this test made of it goes with its namespace, unless another namespace has come to live there.
  had_mount=no had_dir=no
  grep -q ' /run/netns ' /proc/self/mountinfo 2>/dev/null && had_mount=yes
  [ -d /run/netns ] && had_dir=yes
  leave() {
    ip netns delete "$netns" 2>/dev/null || true
    if [ "$had_mount" = no ] && [ -z "$(ls -A /run/netns 2>/dev/null)" ]; then
      umount /run/netns 2>/dev/null || true
      [ "$had_dir" = yes ] || rmdir /run/netns 2>/dev/null || true
    fi
  }
  # Deleting the namespace takes the veth pair with it.
  trap leave EXIT
  if ! command -v ip >/dev/null 2>&1 || ! ip netns add "$netns" 2>/dev/null; then
    echo "SKIPPED: cannot make a network namespace (needs ip and the right to make one)"
    exit 77
  fi
  # Entering it mounts a /sys of its own, which a chroot, whose / is no mount point, refuses.
  if ! ip netns exec "$netns" true 2>/dev/null; then
    echo "SKIPPED: cannot enter a network namespace here (ip netns exec failed)"
    exit 77
  fi
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

rassim reset
reg_add 'HKLM\Software\Orvo\Tollwick' /v Adapters /t REG_MULTI_SZ /d tw0
# The alias's own profile has a minimum charge that .Default lacks, so the cost shows which billed.
store_rates ".Default" 0 0 0.60 0.60 0.60 0 0
store_rates "tw0" 0 0 0.60 0.60 0.60 1 0.77
start_tollwick
check_eq "$(reg_value "CurCall" "" | grep -c 0x1 || true)" "0" "no call while the link is down"

received0=$(counter rx) sent0=$(counter tx) up_at=$(date +%s%N)
ip link set tw1 up && ip link set tw0 up
# A query begun more than a second after the link came up that finds no call proves the start late.
until asked=$(date +%s%N); [ "$(reg_value "CurCall" "")" = "REG_DWORD 0x1" ]; do
  [ $((asked - up_at)) -lt 1000000000 ] || fail "no call a second after the link came up"
done

# Frames of a local experimental EtherType, 100 a second at most, until the link goes down: tw1's
# reach tw0 as received bytes, tw0's own leave as sent ones.
send_frames() {  # interface frame-bytes
  python3 -c 'import socket, sys, time
s = socket.socket(socket.AF_PACKET, socket.SOCK_RAW)
s.bind((sys.argv[1], 0))
frame = b"\xff" * 6 + b"\x02\0\0\0\0\x01\x88\xb5" + bytes(int(sys.argv[2]) - 14)
for _ in range(6000):
    try: s.send(frame)
    except OSError: break
    time.sleep(0.01)' "$@" &
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
hex=$(bill_item 0)
check_eq "$(hex_text "$hex" 4 100)" "tw0" "the account is the alias"
near "$(hex_f32 "$hex" 0)" 0.77 || fail "cost $(hex_f32 "$hex" 0), not the alias's minimum charge"
# The volume is at offset 232, 48 bits each way. The call reads the counters once a counted
# second: what moved after its last reading (a second at the senders' rates) is the most it may lack.
python3 -c 'import sys
item, kr, ks = bytes.fromhex(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
br, bs = (int.from_bytes(item[232:238], "little"), int.from_bytes(item[238:244], "little")) \
    if len(item) == 244 else (-1, -1)
print("billed %d received and %d sent; the kernel counted %d and %d" % (br, bs, kr, ks))
sys.exit(not (kr - 100 * 1000 <= br <= kr and ks - 100 * 600 <= bs <= ks))' \
  "$hex" $(( $(counter rx) - received0 )) $(( $(counter tx) - sent0 )) || fail "the call's volume"
check_eq "$(reg_value "CurCall" "")" "REG_DWORD 0x0" "the marker afterwards"

exit_tollwick
echo PASS
