#!/usr/bin/env bash
# Runs the test suite of the committed tree (git HEAD) inside a minimal Debian of another release,
# the way a new user's machine has it: debootstrap's minbase with `make` added by hand; the
# project's own `make test-suite` installs everything else. Needs root (debootstrap, chroot).
#   tools/debian_chroot.sh RELEASE FOLDER [MAKE TARGET]
# FOLDER keeps the release's tree, made again when older than a week, and the packages downloaded
# into it, between runs. Each run writes into an overlay of its own over that tree, so every run
# starts from the same clean system. All of it happens in a private mount and process namespace:
# when the run ends or is killed, nothing of it stays mounted and none of its processes live on.
set -euo pipefail
release=$1
folder=$(realpath -m "$2")
target=${3:-test-suite}
self=$(realpath "$0")
repo=$(dirname "$(dirname "$self")")
if [ "${CAIRNFOLD_IN_NAMESPACE:-}" != "$release" ]; then
  exec unshare --mount --pid --fork --kill-child --propagation private \
    env CAIRNFOLD_IN_NAMESPACE="$release" "$self" "$release" "$folder" "$target"
fi

base=$folder/$release
if [ ! -e "$base/.made" ] || [ -n "$(find "$base/.made" -mtime +6)" ]; then
  echo "debian_chroot.sh: making a minimal Debian $release in $base"
  rm -rf "$base" "$base.new"
  debootstrap --variant=minbase "$release" "$base.new"
  cp /etc/resolv.conf "$base.new/etc/resolv.conf"
  mount -t proc proc "$base.new/proc"
  chroot "$base.new" env DEBIAN_FRONTEND=noninteractive apt-get install -y make
  umount "$base.new/proc"
  touch "$base.new/.made"
  mv "$base.new" "$base"
fi

# The run's own layer over the tree; the packages it downloads are kept in FOLDER/archives.
run=$folder/run
rm -rf "$run"
mkdir -p "$run/changes" "$run/work" "$run/root" "$folder/archives"
root=$run/root
mount -t overlay overlay -o "lowerdir=$base,upperdir=$run/changes,workdir=$run/work" "$root"
mount -t proc proc "$root/proc"
mount --rbind /dev "$root/dev"
mount -t tmpfs tmpfs "$root/tmp"
mount --bind "$folder/archives" "$root/var/cache/apt/archives"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mkdir "$root/root/cairnfold"
git -C "$repo" archive HEAD | tar -x -C "$root/root/cairnfold"
echo "debian_chroot.sh: make $target in Debian $release ($(cat "$root/etc/debian_version"))"
chroot "$root" env -i HOME=/root LANG=C.UTF-8 CI="${CI:-}" PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  sh -c "cd /root/cairnfold && make $target"
