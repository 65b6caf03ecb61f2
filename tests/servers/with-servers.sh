#!/usr/bin/env bash
# with-servers.sh - runs a command beside the project's CDDB test server and
# a real SMTP server (aiosmtpd), both on loopback ports chosen at run time,
# so that tests running at the same time never meet. The command learns the
# servers from its environment:
#   SPINDLE2_CDDB_PORTS  "mode=port ..." for every mode of cddbserver.py
#   SPINDLE2_SMTP_PORT   the aiosmtpd server's port
#   SPINDLE2_TEST_SPOOL  the servers' spool folder as a Windows path (Z:\...)
#   SPINDLE2_TEST_SPOOL_UNIX  the same folder as a Unix path
# Listing tests (--gtest_list_tests) needs no servers.
#   with-servers.sh COMMAND [ARGS...]
set -u
here="$(cd "$(dirname "$0")" && pwd)"
case " $* " in
  *" --gtest_list_tests "*) exec "$@" ;;
esac
python=/usr/bin/python3
work="$(mktemp -d "${TMPDIR:-/tmp}/spindle2-servers.XXXXXX")"
mkfifo "$work/hold"
pids=()
cleanup() {
  exec 9>&- 2>/dev/null
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

"$python" "$here/cddbserver.py" --spool "$work" <"$work/hold" >"$work/cddb.ready" 2>"$work/cddb.err" &
pids+=($!)
"$python" "$here/smtpserver.py" --spool "$work" <"$work/hold" >"$work/smtp.ready" 2>"$work/smtp.err" &
pids+=($!)
# Opening the pipe's other end lets both start; closing it ends them.
exec 9>"$work/hold"

ready() { grep -q '^READY ' "$work/$1.ready" 2>/dev/null; }
for i in $(seq 1 100); do
  if ready cddb && ready smtp; then break; fi
  sleep 0.1
done
if ! ready cddb; then echo "with-servers: the CDDB test server did not start:" >&2; cat "$work/cddb.err" >&2; exit 1; fi
if ! ready smtp; then echo "with-servers: the SMTP server did not start:" >&2; cat "$work/smtp.err" >&2; exit 1; fi

export SPINDLE2_CDDB_PORTS="$(sed -n 's/^READY //p' "$work/cddb.ready")"
export SPINDLE2_SMTP_PORT="$(sed -n 's/^READY smtp=//p' "$work/smtp.ready")"
export SPINDLE2_TEST_SPOOL_UNIX="$work"
export SPINDLE2_TEST_SPOOL="Z:$(printf '%s' "$work" | tr '/' '\\')"
"$@" 9>&-
