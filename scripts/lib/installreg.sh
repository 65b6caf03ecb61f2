# installreg.sh - writes what an installation puts in the registry: the
# program's folder and its two keys, with the setup program's own initial
# CDDB values (installer/spindle2.nsi). Sourced by scripts/run and
# scripts/bench.
#   write_install_reg ROOT REGFILE MAINDIR_WINDOWS CDDBROOT_WINDOWS

setup_value() {
  sed -n "s/^!define $2 *\"\{0,1\}\([^\"]*\)\"\{0,1\} *\$/\1/p" "$1/installer/spindle2.nsi"
}

write_install_reg() {
  local root="$1" regfile="$2" maindir="$3" cddbroot="$4"
  local cddb_server cddb_port cddb_submit
  cddb_server="$(setup_value "$root" CDDB_MAIN_SERVER)"
  cddb_port="$(setup_value "$root" CDDB_MAIN_PORT)"
  cddb_submit="$(setup_value "$root" CDDB_SUBMIT_TO)"
  if [ -z "$cddb_server" ] || [ -z "$cddb_port" ] || [ -z "$cddb_submit" ]; then
    echo "installer/spindle2.nsi names no CDDB main server, port or submission address" >&2
    return 1
  fi
  {
    printf 'REGEDIT4\n\n'
    printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veldane Software\\Spindle2\\CurrentVersion\\Options]\n'
    printf '"MainDirectory"="%s"\n' "${maindir//\\/\\\\}"
    # The demo's local CDDB tree knows E:'s disc; the main server is asked next.
    printf '"cddbQueryLocal"=dword:00000001\n'
    printf '"cddbLocalRoot"="%s"\n' "${cddbroot//\\/\\\\}"
    printf '"cddbServer"="%s"\n' "$cddb_server"
    printf '"cddbServerPort"=dword:%08x\n\n' "$cddb_port"
    printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veldane Software\\Spindle2\\CurrentVersion\\cddb]\n'
    printf '"MainServer"="%s"\n' "$cddb_server"
    printf '"MainServerPort"=dword:%08x\n' "$cddb_port"
    printf '"SubmitAddress"="%s"\n' "$cddb_submit"
    # A starting server list holding the main server, so that the first
    # lookup finds the chosen server listed before any refresh.
    printf '"NumServers"=dword:00000001\n'
    printf '"Server1"="%s"\n' "$cddb_server"
    printf '"ServerDesc1"="%s"\n' "Main server"
    printf '"ServerPort1"=dword:%08x\n\n' "$cddb_port"
  } > "$regfile"
}
