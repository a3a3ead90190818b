#!/usr/bin/env bash
# Renders the application icon's PNGs (the hicolor sizes) from its SVG drawings
# in data/icons. Run it after changing a drawing and commit the PNGs with it;
# the suite's icon test fails while they disagree.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../data/icons"

for size in 16 24 32 48 64 128 256; do
  # 16 pixels get their own drawing: the full one blurs into a blob there.
  drawing=hicolor/scalable/apps/zelvane.svg
  [ "$size" -le 16 ] && drawing=zelvane-small.svg
  mkdir -p "hicolor/${size}x${size}/apps"
  rsvg-convert --width "$size" --height "$size" "$drawing" --output "hicolor/${size}x${size}/apps/zelvane.png"
done
