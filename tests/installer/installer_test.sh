#!/usr/bin/env bash
# installer_test.sh - the setup program's whole life in a scratch Wine
# prefix of its own (never the shared test prefix):
#   1. a silent install into a folder named with /D: every file (the same
#      bytes as the staged ones), every shortcut and every registry value
#      (NSIS takes /D= only unquoted and wine quotes an argument with a
#      blank, so this folder has none; the default one, with a blank, is
#      installed to in 5.);
#   2. the user changes settings; a silent upgrade (no /D, with /STARTUP)
#      goes to the same folder, keeps the user's values and restores a
#      missing one; a second upgrade without /STARTUP keeps the shortcut;
#   3. the installed player, started as its shortcut would, runs from the
#      folder MainDirectory names, refuses a setup run beside it and closes
#      with code 0; the installed Rackfile checks the database found there;
#   4. an upgrade into another folder takes the title database along and
#      removes the earlier folder (one into the same folder, spelt
#      otherwise, keeps everything); a silent uninstall leaves nothing but
#      the title database, which still reads back;
#   5. an install into the default folder and a silent uninstall with
#      /DELETEDB leave nothing at all;
#   6. the uninstaller's wizard asks before it deletes the database, and
#      the answer Yes deletes it.
#
#   installer_test.sh SETUP STAGE PLAYERWATCH DBWRITER WIZARD HAS_RACKFILE PREFIX
# Exit status 0 when every check held.
set -u
setup="$1" stage="$2" playerwatch="$3" dbwriter="$4" wizard="$5" has_rackfile="$6" prefix="$7"
root="$(cd "$(dirname "$0")/../.." && pwd)"

export WINEPREFIX="$prefix" WINEDEBUG=-all
# No Mono or Gecko installers, and no menu entries on the Linux desktop for
# the shortcuts the setup program makes.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
die() { echo "FAIL: $*"; finish; }
# A passing run leaves no prefix behind (it takes some 700 MB); a failing
# one keeps it for a look.
finish() {
  timeout 60 wineserver -k >/dev/null 2>&1
  if [ "$failures" -eq 0 ] && [ "${1:-}" = pass ]; then
    rm -rf "$prefix" "$prefix-drive-d"
    echo "PASS: the installer's life cycle"
    exit 0
  fi
  echo "$failures check(s) failed; the prefix stays in $prefix"
  exit 1
}
step() { echo "--- $*"; }

# Every Wine program is bounded, so that one that hangs fails its step.
wine_run() { timeout 120 wine "$@" </dev/null; }
wait_prefix() { timeout 120 wineserver -w || fail "the prefix did not come to rest"; }

program_key='HKLM\Software\Veldane Software'
options_key='HKEY_LOCAL_MACHINE\Software\Veldane Software\Spindle2\CurrentVersion\Options'
cddb_key='HKEY_LOCAL_MACHINE\Software\Veldane Software\Spindle2\CurrentVersion\cddb'
uninst_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Spindle2'
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
custom_win='C:\Apps\SpindleTwo'
custom_unix="$prefix/drive_c/Apps/SpindleTwo"
moved_win='C:\Apps\SpindleMoved'
moved_unix="$prefix/drive_c/Apps/SpindleMoved"
default_win='C:\Program Files\Spindle2'
default_unix="$prefix/drive_c/Program Files/Spindle2"

# Every value under a key, one line each: KEY|NAME|TYPE|DATA, sorted.
registry_of() {
  wine_run reg query "$1" /s 2>/dev/null | tr -d '\r' | awk '
    /^HKEY_/ { key = $0; next }
    /^    / {
      line = substr($0, 5)
      n = index(line, "    "); name = substr(line, 1, n - 1); rest = substr(line, n + 4)
      m = index(rest, "    ")
      if (m == 0) { type = rest; data = "" } else { type = substr(rest, 1, m - 1); data = substr(rest, m + 4) }
      print key "|" name "|" type "|" data
    }' | sort
}

# Compares the program's keys with exactly these lines (KEY|NAME|TYPE|DATA).
expect_program_registry() {
  local label="$1"; shift
  local expected actual
  expected="$(printf '%s\n' "$@" | sort)"
  actual="$(registry_of "$program_key")"
  if [ "$actual" != "$expected" ]; then
    fail "$label: the program's registry values differ"
    diff <(echo "$expected") <(echo "$actual") | sed 's/^/    /'
  fi
}

# These lines (KEY|NAME|TYPE|DATA) are among the program's values; once the
# player has run, the Options key holds all its options too. (Wine's reg
# prints leftover bytes for an empty REG_SZ, so those are not compared.)
expect_program_values() {
  local label="$1"; shift
  local actual line
  actual="$(registry_of "$program_key")"
  for line in "$@"; do
    grep -qxF "$line" <<<"$actual" || fail "$label: no registry value $line"
  done
}

installed_files() {
  local files=(spindle2.exe platter.dll Spindle2.hlp)
  [ "$has_rackfile" = 1 ] && files+=(Rackfile.exe)
  printf '%s\n' "${files[@]}"
}

# The folder holds exactly the installed files and the uninstaller, each
# program file the same bytes as the staged one.
check_files() {
  local dir="$1" name listing expected
  shift
  expected="$( (installed_files; echo Uninstall.exe; printf '%s\n' "$@") | sed '/^$/d' | sort)"
  listing="$(ls -1 "$dir" 2>/dev/null | sort)"
  [ "$listing" = "$expected" ] || fail "$dir holds [$(echo $listing)], expected [$(echo $expected)]"
  while read -r name; do
    cmp -s "$stage/$name" "$dir/$name" || fail "$name in $dir is not the staged file"
  done < <(installed_files)
}

# A shortcut names its target, its working folder and its icon.
check_shortcut() {
  local lnk="$1" target="$2" folder="$3" icon="$4" fields
  if [ ! -f "$lnk" ]; then fail "no shortcut $lnk"; return; fi
  fields="$(python3 "$root/tests/installer/lnkinfo.py" "$lnk")" || { fail "$lnk cannot be read"; return; }
  grep -qxF "target=$target" <<<"$fields" || fail "$lnk does not point at $target"
  grep -qxF "workdir=$folder" <<<"$fields" || fail "$lnk does not start in $folder"
  [ -z "$icon" ] || grep -qxF "icon=$icon" <<<"$fields" || fail "$lnk does not show the icon of $icon"
}

check_shortcuts() {
  local win="$1"
  check_shortcut "$menu/Spindle2/Spindle2.lnk" "$win\\spindle2.exe" "$win" "$win\\spindle2.exe"
  check_shortcut "$menu/Spindle2/Uninstall Spindle2.lnk" "$win\\Uninstall.exe" "$win" ""
  if [ "$has_rackfile" = 1 ]; then
    check_shortcut "$menu/Spindle2/Rackfile.lnk" "$win\\Rackfile.exe" "$win" "$win\\Rackfile.exe"
  else
    [ ! -e "$menu/Spindle2/Rackfile.lnk" ] || fail "a Rackfile shortcut without Rackfile"
  fi
}

# Add/Remove Programs: every value, the size only by its type.
check_uninstall_entry() {
  local win="$1" actual expected
  actual="$(registry_of "$uninst_key" | cut -d'|' -f2- | sed 's/^EstimatedSize|REG_DWORD|0x[1-9a-f][0-9a-f]*$/EstimatedSize|REG_DWORD|nonzero/')"
  expected="$(printf '%s\n' \
    "DisplayIcon|REG_SZ|$win\\spindle2.exe,0" \
    "DisplayName|REG_SZ|Spindle2 3.00" \
    "DisplayVersion|REG_SZ|3.00" \
    "EstimatedSize|REG_DWORD|nonzero" \
    "InstallLocation|REG_SZ|$win" \
    "NoModify|REG_DWORD|0x1" \
    "NoRepair|REG_DWORD|0x1" \
    "Publisher|REG_SZ|Veldane Software" \
    "QuietUninstallString|REG_SZ|\"$win\\Uninstall.exe\" /S" \
    "UninstallString|REG_SZ|\"$win\\Uninstall.exe\"" | sort)"
  if [ "$actual" != "$expected" ]; then
    fail "the Add/Remove Programs entry differs"
    diff <(echo "$expected") <(echo "$actual") | sed 's/^/    /'
  fi
}

# The registry and Start menu hold nothing of the program any more.
check_nothing_registered() {
  local label="$1"
  [ -z "$(registry_of "$program_key")" ] || fail "$label: values remain under $program_key"
  wine_run reg query "$program_key" >/dev/null 2>&1 && fail "$label: the key $program_key remains"
  wine_run reg query "$uninst_key" >/dev/null 2>&1 && fail "$label: the Add/Remove Programs entry remains"
  [ ! -e "$menu/Spindle2" ] || fail "$label: the Start menu folder remains"
  [ ! -e "$menu/StartUp/Spindle2.lnk" ] || fail "$label: the startup shortcut remains"
}

run_setup() {
  local label="$1"; shift
  wine_run "$setup" /S "$@"
  local status=$?
  [ $status -eq 0 ] || die "$label: the setup program ended with code $status"
}

run_uninstaller() {
  local dir_win="$1" dir_unix="$2"; shift 2
  [ -f "$dir_unix/Uninstall.exe" ] || die "no uninstaller in $dir_unix"
  # The uninstaller hands over to a copy of itself and returns at once: the
  # prefix at rest means that copy has finished.
  wine_run "$dir_win\\Uninstall.exe" /S "$@" || die "the uninstaller ended with code $?"
  wait_prefix
}

step "a scratch prefix with an empty CD-ROM drive D: (no disc, so no lookup)"
# A server left from an interrupted run would outlive its prefix's files.
[ -d "$prefix" ] && timeout 60 wineserver -k >/dev/null 2>&1
rm -rf "$prefix"
"$root/scripts/prefix" "$prefix" "d=$prefix-drive-d" || die "the prefix could not be made"

step "silent install into $custom_win"
run_setup "first install" "/D=$custom_win"
check_files "$custom_unix"
check_shortcuts "$custom_win"
[ ! -e "$menu/StartUp/Spindle2.lnk" ] || fail "a startup shortcut that nobody chose"
[ ! -e "$default_unix" ] || fail "files in the default folder although /D named another"
expect_program_registry "first install" \
  "$options_key|MainDirectory|REG_SZ|$custom_win" \
  "$cddb_key|MainServer|REG_SZ|gnudb.gnudb.org" \
  "$cddb_key|MainServerPort|REG_DWORD|0x22b0" \
  "$cddb_key|SubmitAddress|REG_SZ|http://gnudb.gnudb.org/~cddb/submit.cgi"
check_uninstall_entry "$custom_win"

step "the user's own settings, then a silent upgrade with /STARTUP"
wine_run reg add "$cddb_key" /v MainServer /t REG_SZ /d cddb.example.org /f >/dev/null
wine_run reg add "$cddb_key" /v MainServerPort /t REG_DWORD /d 8888 /f >/dev/null
wine_run reg delete "$cddb_key" /v SubmitAddress /f >/dev/null
# The player must not look anything up on the network: the user turned
# remote queries off.
wine_run reg add "$options_key" /v cddbQueryServer /t REG_DWORD /d 0 /f >/dev/null
run_setup "upgrade" /STARTUP
check_files "$custom_unix"
[ ! -e "$default_unix" ] || fail "the upgrade went to the default folder, not to the installed one"
check_shortcut "$menu/StartUp/Spindle2.lnk" "$custom_win\\spindle2.exe" "$custom_win" "$custom_win\\spindle2.exe"
upgraded=(
  "$options_key|MainDirectory|REG_SZ|$custom_win"
  "$options_key|cddbQueryServer|REG_DWORD|0x0"
  "$cddb_key|MainServer|REG_SZ|cddb.example.org"
  "$cddb_key|MainServerPort|REG_DWORD|0x22b8"
  "$cddb_key|SubmitAddress|REG_SZ|http://gnudb.gnudb.org/~cddb/submit.cgi"
)
expect_program_registry "upgrade" "${upgraded[@]}"

step "a second upgrade without /STARTUP keeps the startup shortcut"
run_setup "second upgrade"
check_shortcut "$menu/StartUp/Spindle2.lnk" "$custom_win\\spindle2.exe" "$custom_win" "$custom_win\\spindle2.exe"
expect_program_registry "second upgrade" "${upgraded[@]}"

step "the installed player, started from elsewhere, runs and closes"
setup_win="$(winepath -w "$setup" 2>/dev/null)"
timeout 150 wine "$playerwatch" "$custom_win\\spindle2.exe" 'C:\windows' "$custom_win\\diagnostics.log" \
  "$setup_win" 2 </dev/null
status=$?
[ $status -eq 0 ] || fail "the installed player did not run and close as it should (playerwatch code $status)"
wait_prefix
[ -f "$custom_unix/diagnostics.log" ] || fail "the player left no log in its folder"

step "titles in the database, then an upgrade into another folder takes it along"
wine_run "$dbwriter" "$custom_win" write 1 3 kept || fail "the titles could not be written"
run_setup "upgrade into $moved_win" "/D=$moved_win"
check_files "$moved_unix" Spindle2.tdb
[ ! -e "$custom_unix" ] || fail "the earlier folder remains: [$(ls -A "$custom_unix" | tr '\n' ' ')]"
upgraded[0]="$options_key|MainDirectory|REG_SZ|$moved_win"
expect_program_values "upgrade into another folder" "${upgraded[@]}"
check_shortcuts "$moved_win"
check_shortcut "$menu/StartUp/Spindle2.lnk" "$moved_win\\spindle2.exe" "$moved_win" "$moved_win\\spindle2.exe"
check_uninstall_entry "$moved_win"
wine_run "$dbwriter" "$moved_win" expect 1 3 kept || fail "the moved database does not read back"
# Upgrading in place spelt with a trailing backslash must not take the
# folder for another one.
run_setup "upgrade into the same folder" "/D=$moved_win\\"
check_files "$moved_unix" Spindle2.tdb
wine_run "$dbwriter" "$moved_win" expect 1 3 kept || fail "the database is gone after an upgrade in place"
if [ "$has_rackfile" = 1 ]; then
  # The installed Rackfile, started elsewhere, finds the database through
  # MainDirectory and reads it with the installed library.
  rm -f "$prefix/drive_c/windows/temp/rackfile-check.log"
  (cd "$prefix/drive_c/windows" && wine_run "$moved_win\\Rackfile.exe" /check /log 'C:\windows\temp\rackfile-check.log')
  status=$?
  [ $status -eq 0 ] || fail "the installed Rackfile's /check ended with code $status"
  grep -q " 3 entries, 0 damaged records" "$prefix/drive_c/windows/temp/rackfile-check.log" 2>/dev/null ||
    fail "the installed Rackfile did not read the installation's database: $(cat "$prefix/drive_c/windows/temp/rackfile-check.log" 2>/dev/null)"
  rm -f "$prefix/drive_c/windows/temp/rackfile-check.log"
fi
run_uninstaller "$moved_win" "$moved_unix"
left="$(ls -1A "$moved_unix" 2>/dev/null)"
[ "$left" = Spindle2.tdb ] || fail "the installation folder holds [$(echo $left)], expected only Spindle2.tdb"
check_nothing_registered "uninstall keeping the database"
wine_run "$dbwriter" "$moved_win" expect 1 3 kept || fail "the kept database does not read back"

step "install into the default folder, then a silent uninstall with /DELETEDB"
run_setup "install to the default folder"
check_files "$default_unix"
expect_program_registry "install to the default folder" \
  "$options_key|MainDirectory|REG_SZ|$default_win" \
  "$cddb_key|MainServer|REG_SZ|gnudb.gnudb.org" \
  "$cddb_key|MainServerPort|REG_DWORD|0x22b0" \
  "$cddb_key|SubmitAddress|REG_SZ|http://gnudb.gnudb.org/~cddb/submit.cgi"
wine_run "$dbwriter" "$default_win" write 1 2 doomed || fail "the titles could not be written"
run_uninstaller "$default_win" "$default_unix" /DELETEDB
[ ! -e "$default_unix" ] || fail "the folder remains after /DELETEDB: [$(ls -A "$default_unix" | tr '\n' ' ')]"
check_nothing_registered "uninstall with /DELETEDB"
[ -f "$moved_unix/Spindle2.tdb" ] || fail "another folder's database was deleted"

step "the uninstaller's wizard asks about the database; Yes deletes it"
run_setup "install for the wizard"
wine_run "$dbwriter" "$default_win" write 1 2 asked || fail "the titles could not be written"
timeout 150 wine "$wizard" "\"$default_win\\Uninstall.exe\"" 'click:&Uninstall' \
  'see:Do you want to delete the title database as well?' 'click:&Yes' 'click:&Close' </dev/null
status=$?
if [ $status -ne 0 ]; then
  fail "the uninstall wizard did not go as a user would see it (wizard code $status)"
  timeout 60 wineserver -k   # the wizard waits on a page nobody will press
fi
wait_prefix
[ ! -e "$default_unix" ] || fail "the folder remains after the answer Yes: [$(ls -A "$default_unix" | tr '\n' ' ')]"
check_nothing_registered "uninstall wizard"

stray="$(find "$prefix/drive_c" \( -iname '*spindle2*' -o -iname 'rackfile*' -o -iname 'platter.dll' \) \
          ! -path "$moved_unix/Spindle2.tdb" 2>/dev/null)"
[ -z "$stray" ] || fail "left behind: $stray"

finish pass
