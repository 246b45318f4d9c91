# Functions for running something in a fresh Debian 12 root, as a machine that has only what
# `debootstrap --variant=minbase bookworm` gives. Sourced by package-test.sh and fresh-root-test.sh
# (as root). The bare root is made once and kept as a tarball, made anew when older than
# TAVRIN_ROOT_MAX_DAYS (default 7) days; the packages apt downloads into the roots are kept beside
# it, so a later root installs them without fetching them again (it still installs each one).

root_cache_dir() {
  if [ -n "${TAVRIN_ROOT_CACHE:-}" ]; then
    echo "$TAVRIN_ROOT_CACHE"
  elif [ "$(id -u)" = 0 ] && mkdir -p /var/cache/tavrin 2>/dev/null; then
    echo /var/cache/tavrin
  else
    echo "${XDG_CACHE_HOME:-$HOME/.cache}/tavrin"
  fi
}

# Prints the path of the bare root's tarball, making it first when it is missing or too old.
bare_root_tarball() {
  local cache tarball fresh lock
  cache=$(root_cache_dir)
  tarball=$cache/bookworm-minbase.tar
  mkdir -p "$cache"
  # One maker at a time: a second run waits and then finds the tarball made.
  exec {lock}>"$cache/.lock"
  flock "$lock"
  fresh=$(find "$tarball" -mtime -"${TAVRIN_ROOT_MAX_DAYS:-7}" 2>/dev/null || true)
  if [ -z "$fresh" ]; then
    local staging
    staging=$(mktemp -d /var/tmp/tavrin-bare.XXXXXX)
    chmod 755 "$staging"  # the roots' "/", which the tarball carries
    echo "debootstrap --variant=minbase bookworm (kept in $cache)" >&2
    if ! debootstrap --variant=minbase bookworm "$staging" >/dev/null; then
      rm -rf --one-file-system "$staging"
      exec {lock}>&-
      return 1
    fi
    # Nothing of this machine's apt state goes into the tarball: each root fetches its own lists.
    find "$staging"/var/lib/apt/lists -maxdepth 1 -type f -delete
    rm -f "$staging"/var/cache/apt/archives/*.deb
    tar -C "$staging" -cf "$tarball.part" .
    mv "$tarball.part" "$tarball"
    rm -rf --one-file-system "$staging"
  fi
  exec {lock}>&-
  echo "$tarball"
}

# new_root: makes a fresh root from the bare tarball, with /proc, /sys, /dev and the download
# cache mounted, and sets ROOT. Call remove_root (e.g. from an EXIT trap) to take it down.
new_root() {
  local tarball cache
  tarball=$(bare_root_tarball)
  cache=$(root_cache_dir)/apt-archives
  ROOT=$(mktemp -d /var/tmp/tavrin-root.XXXXXX)
  tar -C "$ROOT" -xf "$tarball"
  chmod 755 "$ROOT"  # its "/": a user in the root and apt's download user must get through
  cp /etc/resolv.conf "$ROOT/etc/resolv.conf"
  mkdir -p "$cache/partial"
  mount -t proc proc "$ROOT/proc"
  mount -t sysfs sysfs "$ROOT/sys"
  mount --bind /dev "$ROOT/dev"
  mount --bind /dev/pts "$ROOT/dev/pts"
  mount -t tmpfs tmpfs "$ROOT/dev/shm"
  mount --bind "$cache" "$ROOT/var/cache/apt/archives"
  # apt downloads as its own user.
  in_root chown _apt:root /var/cache/apt/archives/partial
}

remove_root() {
  [ -n "${ROOT:-}" ] && [ -d "$ROOT" ] || return 0
  # Lazily: a process of the check that is still ending may hold them a moment longer.
  local mount
  for mount in var/cache/apt/archives dev/shm dev/pts dev sys proc; do
    umount -l "$ROOT/$mount" 2>/dev/null || true
  done
  rm -rf --one-file-system "$ROOT"
}

# in_root COMMAND...: runs COMMAND as root in the root, with nothing of the caller's environment.
in_root() {
  chroot "$ROOT" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"
}

# as_user COMMAND...: the same as the plain user "user" (useradd -m user first).
as_user() {
  chroot --userspec=user:user "$ROOT" env -i HOME=/home/user PATH=/usr/bin:/bin "$@"
}

# copy_source SOURCE DEST: the files of the source tree that git knows of or would add (tracked,
# and untracked but not ignored), so no build folder or other local output comes along. Without
# git, the whole tree but build/ and shots/.
copy_source() {
  local source=$1 dest=$2
  mkdir -p "$dest"
  if git -C "$source" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    (cd "$source" && git ls-files -z --cached --others --exclude-standard |
      xargs -0 -r sh -c 'for f; do [ -e "$f" ] || [ -L "$f" ] && printf "%s\0" "$f"; done' sh |
      tar --null -T - -cf -) | tar -C "$dest" -xf -
  else
    tar -C "$source" --exclude=./build --exclude=./shots -cf - . | tar -C "$dest" -xf -
  fi
}
