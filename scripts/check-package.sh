#!/usr/bin/env bash
# Installs zelvane's Debian package on a clean Debian 12 and uses it as a new
# user would; then removes it. The clean machine is a chroot made with
# debootstrap under build/clean-machine (kept as a tarball, unpacked afresh
# every run). Needs root and Debian's package mirror; takes some minutes, so
# it is not part of the test suite.
#
#   scripts/check-package.sh [PACKAGE.deb]
#
# Without an argument it builds the package from a Release build
# (build/release). It checks that:
#   - apt installs the package with the dependencies it names, and nothing
#     else is needed: zelvane-cli runs and finds its plug-in and the sample game;
#   - the file type and the desktop entry are known: GIO takes a scene file
#     for application/x-zelvane-scene and opens it with zelvane.desktop;
#   - the editor starts from its desktop entry (its Exec line, as a file
#     manager runs it) with a scene file as argument, shows its window after
#     the release notice is answered, opens the scene (which joins the recent
#     files) and keeps running (a screenshot lands in
#     build/clean-machine/editor.png);
#   - apt removes every file of the package and none of the user's.
set -euo pipefail
cd "$(dirname "$0")/.."
repository=$PWD

[ "$(id -u)" -eq 0 ] || { echo "check-package.sh: run it as root (it makes a chroot)" >&2; exit 1; }
command -v debootstrap >/dev/null || { apt-get update -qq && apt-get install -y -qq debootstrap; }

work=$repository/build/clean-machine
machine=$work/root
base=$work/bookworm-minbase.tar
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
mkdir -p "$work"

# --- the package --------------------------------------------------------------
if [ $# -ge 1 ]; then
  package=$(realpath "$1")
else
  scripts/install-deps.sh
  build=build/release
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" > /dev/null
  cmake --build "$build" -j"$(nproc)"
  rm -f "$build"/zelvane_*.deb
  (cd "$build" && cpack -G DEB > /dev/null)
  package=$(realpath "$build"/zelvane_*.deb)
fi
echo "== package: $package"

# --- a clean Debian 12 ---------------------------------------------------------
unmount_all() {
  for mount in dev/pts dev proc sys; do
    mountpoint -q "$machine/$mount" && umount -l "$machine/$mount"
  done
  return 0
}
trap unmount_all EXIT
unmount_all
rm -rf "$machine"
if [ ! -f "$base" ]; then
  echo "== debootstrap (once; kept in $base)"
  debootstrap --variant=minbase bookworm "$machine" "$mirror" > "$work/debootstrap.log"
  tar -C "$machine" -cf "$base" .
  rm -rf "$machine"
fi
mkdir -p "$machine"
tar -C "$machine" -xf "$base"
cat > "$machine/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb ${mirror%/debian}/debian-security bookworm-security main
EOF
cp /etc/resolv.conf "$machine/etc/resolv.conf"
mount --bind /dev "$machine/dev"
mount --bind /dev/pts "$machine/dev/pts"
mount -t proc proc "$machine/proc"
mount -t sysfs sysfs "$machine/sys"

inside() { chroot "$machine" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
as_user() { inside runuser -u alice -- env HOME=/home/alice "$@"; }
fail() { echo "FAILED: $*" >&2; exit 1; }

# --- install -------------------------------------------------------------------
echo "== apt install ./$(basename "$package")"
cp "$package" "$machine/tmp/"
inside apt-get update -qq
inside env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/$(basename "$package")" \
  > "$work/install.log" 2>&1 || { tail -30 "$work/install.log"; fail "apt could not install the package"; }
grep -E "^(Setting up|Processing triggers)" "$work/install.log" | sed 's/^/   /' | grep -E "zelvane|mime|desktop|hicolor|man-db" || true
inside useradd --create-home alice

echo "== zelvane-cli"
if version=$(as_user zelvane-cli --version 2>&1); then
  echo "   $version"
else
  # Older builds have no --version; their help still shows the program runs.
  echo "   zelvane-cli --version is not supported by this build: $version"
  as_user zelvane-cli --help | sed -n 1p | sed 's/^/   /'
fi
echo "   $(as_user env QT_QPA_PLATFORM=offscreen zelvane --version 2>/dev/null)"
as_user zelvane-cli plugins | sed 's/^/   /'
as_user zelvane-cli plugins --json | grep -F '"path": "/usr/lib/zelvane/Plugins/meshport.so"' > /dev/null \
  || fail "zelvane-cli does not load its plug-in from /usr/lib/zelvane/Plugins"
as_user zelvane-cli catalog | sed -n 1,3p | sed 's/^/   /'
as_user zelvane-cli catalog --json | grep -F '"game_folder": "/usr/share/zelvane/sample-game/"' > /dev/null \
  || fail "zelvane-cli does not read the sample game"

# A scene file as the editor writes one: the header, no objects, no textures.
printf 'CGS1\001\000\000\000\000\000\000\000\000\000\000\000' > "$machine/home/alice/room.cgs"
cp "$machine/home/alice/room.cgs" "$machine/home/alice/room-without-name"
inside chown alice: /home/alice/room.cgs /home/alice/room-without-name

echo "== the desktop: file type and handler (as a file manager asks GIO)"
# What a desktop brings (GIO's tools, the desktop file database), an X server
# without a screen and the tools to look at it.
inside env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  libglib2.0-bin desktop-file-utils xvfb xauth x11-utils x11-apps netpbm xdotool > "$work/desktop-tools.log" 2>&1 \
  || { tail -30 "$work/desktop-tools.log"; fail "could not install the desktop tools"; }
for file in room.cgs room-without-name; do
  type=$(as_user gio info -a standard::content-type "/home/alice/$file" | sed -n 's/.*content-type: //p')
  echo "   $file: $type"
  [ "$type" = application/x-zelvane-scene ] || fail "$file is taken for $type"
done
handler=$(as_user gio mime application/x-zelvane-scene | sed -n 1p)
echo "   $handler"
[[ $handler == *zelvane.desktop* ]] || fail "scene files do not open with zelvane.desktop"

echo "== the editor, started from its desktop entry's Exec line with a scene file"
exec_line=$(sed -n 's/^Exec=//p' "$machine/usr/share/applications/zelvane.desktop")
command_line=${exec_line//%f//home/alice/room.cgs}
echo "   Exec=$exec_line -> $command_line"
cat > "$machine/tmp/start-editor.sh" <<EOF
#!/bin/sh
cd /home/alice
$command_line > /tmp/editor.log 2>&1 &
editor=\$!
sleep 10
kill -0 \$editor || { echo "the editor ended:"; cat /tmp/editor.log; exit 1; }
# The release notice waits for its OK before the window and the scene come.
for window in \$(xdotool search --onlyvisible --name '^zelvane\$'); do
  xdotool key --window "\$window" Return 2>/dev/null || true
done
sleep 8
kill -0 \$editor || { echo "the editor ended:"; cat /tmp/editor.log; exit 1; }
tr '\0' ' ' < /proc/\$editor/cmdline; echo
xwininfo -root -tree | grep -i zelvane | sed -n 1,3p
# An opened scene file joins the recent files.
grep -h '^File1=' /home/alice/.config/zelvane/zelvane.ini || { echo "the scene file was not opened"; exit 1; }
xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng > /tmp/editor.png
kill \$editor
EOF
chmod 755 "$machine/tmp/start-editor.sh"
as_user xvfb-run -a -s "-screen 0 1280x800x24" /tmp/start-editor.sh | sed 's/^/   /' \
  || fail "the editor did not keep running"
cp "$machine/tmp/editor.png" "$work/editor.png"
echo "   screenshot: $work/editor.png"

echo "== apt remove zelvane"
user_files=$(cd "$machine/home/alice" && find . -type f | sort)
packaged=$(inside dpkg -L zelvane | grep -v '^/\.$')
inside env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq zelvane > "$work/remove.log" 2>&1 \
  || { tail -30 "$work/remove.log"; fail "apt could not remove the package"; }
left=0
while read -r path; do
  if [ -f "$machine$path" ] || [ -L "$machine$path" ]; then echo "   left behind: $path"; left=1; fi
done <<< "$packaged"
for folder in /usr/share/zelvane /usr/lib/zelvane /usr/share/doc/zelvane; do
  [ -e "$machine$folder" ] && { echo "   left behind: $folder"; left=1; }
done
[ $left -eq 0 ] || fail "files of the package are left behind"
[ "$user_files" = "$(cd "$machine/home/alice" && find . -type f | sort)" ] || fail "the user's files changed"
echo "   every packaged file is gone; alice's files are all there:"
echo "$user_files" | sed 's/^/     /'

echo "== clean-machine check passed"
