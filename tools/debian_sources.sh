# Debian's source packages for the builds that carry their own libraries (Windows, the browser):
# sourced by tools/windows_build.sh and tools/web_build.sh, which set SOURCES (the folder the
# sources are unpacked into) and SUDO first.

# apt-get source needs a deb-src entry. Where the machine has none, one is added that copies each of
# its own deb entries (the same URIs, suites and components), in the format the entry is written in.
EnsureSourceEntries() {
  if grep -Eqs '^[[:space:]]*(deb-src[[:space:]]|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
       /etc/apt/sources.list.d/*.sources; then
    return
  fi
  local list=/etc/apt/sources.list.d/cairnfold-deb-src.list sources=/etc/apt/sources.list.d/cairnfold-deb-src.sources
  # One-line entries: "deb [options] URI suite components" becomes "deb-src ...".
  sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    $SUDO tee "$list" >/dev/null || true
  # deb822 stanzas: each stanza whose Types holds deb, with Types: deb-src and every other field kept.
  cat /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '
    function flush() { if (keep) printf "%s\n", stanza; stanza = ""; keep = 0 }
    /^[[:space:]]*$/ { flush(); next }
    /^Types:/ { if ($0 ~ /[[:space:]]deb([[:space:]]|$)/) keep = 1; stanza = stanza "Types: deb-src\n"; next }
    /^#/ { next }
    { stanza = stanza $0 "\n" }
    END { flush() }' | $SUDO tee "$sources" >/dev/null
  [ -s "$list" ] || $SUDO rm -f "$list"
  [ -s "$sources" ] || $SUDO rm -f "$sources"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update >&2
}

# Unpacks Debian's source package $1 into SOURCES (once) and prints its folder.
FetchSource() {
  local folder
  folder=$(find "$SOURCES/$1" -mindepth 1 -maxdepth 1 -type d 2>/dev/null | head -1) || true
  if [ -z "$folder" ]; then
    EnsureSourceEntries
    rm -rf "$SOURCES/$1" && mkdir -p "$SOURCES/$1"
    # The newest version first; where its archives cannot be fetched (a mirror without the sources
    # of a security update or of a point release's), each older version the sources list.
    (cd "$SOURCES/$1" && {
      apt-get source -q "$1" ||
        for version in $(apt-cache showsrc --only-source "$1" | sed -n 's/^Version: //p' | sort -urV); do
          apt-get source -q "$1=$version" && break
        done
    } >&2) || true
    folder=$(find "$SOURCES/$1" -mindepth 1 -maxdepth 1 -type d | head -1)
    [ -n "$folder" ] || { echo "$(basename "$0"): the sources of $1 could not be fetched" >&2; return 1; }
  fi
  echo "$folder"
}

