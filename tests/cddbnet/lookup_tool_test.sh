#!/usr/bin/env bash
# lookup_tool_test.sh - the console lookup program against the CDDB test
# server, as a user would run it: the exact disc shows its entry's texts,
# the fuzzy disc lists its close matches and shows the first.
# Run beside the servers: with-servers.sh lookup_tool_test.sh WINE_RUN TOOL_EXE
set -u
winerun="$1"; tool="$2"
port="$(printf '%s\n' $SPINDLE2_CDDB_PORTS | sed -n 's/^cddbp=//p')"
fail() { echo "FAIL: $*"; echo "$out"; exit 1; }

out="$("$winerun" "$tool" 127.0.0.1 "$port" 150 18000 36000 54000 2>&1 | iconv -f CP1252 -t UTF-8)"
echo "$out"
grep -q "^Disc 1402ce03 in rock, revision 2" <<<"$out" || fail "no disc line"
grep -q "^Artist: Motörhead" <<<"$out" || fail "no artist"
grep -q "^Title: Café € ?mega" <<<"$out" || fail "no title in the code page"
grep -q "^ 1. Ace of Spades" <<<"$out" || fail "no first track"
grep -q "^status: Sending query..." <<<"$out" || fail "no status texts"

out="$("$winerun" "$tool" 127.0.0.1 "$port" 150 20000 40000 60000 80000 2>&1)"
grep -q "^2 close matches:" <<<"$out" || fail "no close matches"
grep -q "^Artist: Close Artist" <<<"$out" || fail "the first match was not fetched"
echo "PASS: the lookup program shows the test server's entries"
