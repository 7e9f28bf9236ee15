# Sourced by scripts/setup.sh and scripts/wine-suite.sh: Debian packages installed as robustly as a
# mirror allows.
#
#   qor_apt_update          apt-get update, retried; an index that still fails to download is
#                           named and the install goes on with the lists there are
#   qor_apt_install PKG...  apt-get install; when the versions of a package's 32-bit and 64-bit
#                           builds disagree (an i386 index of the security updates that failed to
#                           download leaves the i386 packages behind the installed amd64 ones), once
#                           more with the security updates pinned below the main archive

QOR_APT_FAILED_INDEXES=""

qor_apt_update() {
  local attempt log
  log=$(mktemp)
  for attempt in 1 2 3; do
    if apt-get update -qq >"$log" 2>&1 && ! grep -q '^[WE]: Failed to fetch' "$log"; then
      QOR_APT_FAILED_INDEXES=""
      rm -f "$log"
      return 0
    fi
    QOR_APT_FAILED_INDEXES=$(sed -n 's/^[WE]: Failed to fetch \([^ ]*\).*/\1/p' "$log" | sort -u | tr '\n' ' ')
    [ "$attempt" = 3 ] || sleep $((attempt * 5))
  done
  rm -f "$log"
  echo "apt: after three attempts these package indexes did not download: ${QOR_APT_FAILED_INDEXES:-(apt-get update failed)}; installing with the lists there are" >&2
  return 0
}

qor_apt_install() {
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y -qq "$@" >/dev/null 2>&1 && return 0
  local pin
  pin=$(mktemp)
  printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 90\n' >"$pin"
  local status=0
  apt-get install -y -qq -o Dir::Etc::preferences="$pin" "$@" >/dev/null 2>&1 || status=$?
  rm -f "$pin"
  return $status
}
