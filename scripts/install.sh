#!/usr/bin/env bash
# Installs Quillmere for the current user: the VST 3 bundle into ~/.vst3, a link to its
# shared object into ~/.vst for VST 2.4 hosts, and the factory presets where VST 3
# hosts look for them. Builds first when needed.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v cmake >/dev/null 2>&1 || [ ! -f build/CMakeCache.txt ]; then
  if [ "$(id -u)" = 0 ]; then
    bash scripts/setup.sh
  fi
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build build -j2 --target Quillmere quillmere_presets quillmere_moduleinfo_json

bundle=build/Quillmere.vst3
# The vendor folder is named after the factory's vendor, as the module reports it.
vendor=$(sed -n 's/^ *"Vendor": "\(.*\)",*$/\1/p' "$bundle/Contents/Resources/moduleinfo.json" | head -n 1)
vendor=${vendor:-Quillmere Audio}

vst3_dir="$HOME/.vst3"
vst2_dir="$HOME/.vst"
preset_dir="$vst3_dir/presets/$vendor/Quillmere"
mkdir -p "$vst3_dir" "$vst2_dir" "$preset_dir"

# Copy beside the target, then move into place, so a host scanning meanwhile never
# sees half a plug-in.
rm -rf "$vst3_dir/.Quillmere.vst3.new"
cp -R "$bundle" "$vst3_dir/.Quillmere.vst3.new"
rm -rf "$vst3_dir/Quillmere.vst3"
mv "$vst3_dir/.Quillmere.vst3.new" "$vst3_dir/Quillmere.vst3"

# A link, not a copy: the editor finds its artwork beside the object the link names.
ln -sfn "$vst3_dir/Quillmere.vst3/Contents/x86_64-linux/Quillmere.so" "$vst2_dir/.Quillmere.so.new"
mv -fT "$vst2_dir/.Quillmere.so.new" "$vst2_dir/Quillmere.so"

cp build/presets/*.vstpreset "$preset_dir/"
count=$(ls "$preset_dir"/*.vstpreset | wc -l)

echo "Installed Quillmere:"
echo "  VST 3 plug-in:  $vst3_dir/Quillmere.vst3"
echo "  VST 2.4 plug-in: $vst2_dir/Quillmere.so"
echo "  $count presets:  $preset_dir"
echo "Rescan plug-ins in your host to find it under Fx > Reverb."
