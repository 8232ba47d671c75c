#!/usr/bin/env python3
"""Lays out the browser page in a folder of its own, from what emscripten built.

    python3 scripts/web-page.py <emscripten's build folder> <page folder>

The program (index.js, index.wasm) and the bitmaps (index.data) are named after a hash of their
contents, so that a browser can keep them for good and can never pair the files of two builds.
They go gzip-compressed, which any server sends as it is and the page inflates itself: the
bitmaps shrink from 4.7 MB to 0.3 MB even from a server that compresses nothing. The
uncompressed copies stay beside them for browsers that cannot inflate.
index.html is src/web/shell.html with the loader (src/web/loader.js) and the list of files in
place of its {{{ SCRIPT }}}; sw.js lets the page start again without the network, and
manifest.webmanifest lets a browser install it as an app with the game's icon.
"""
import gzip
import hashlib
import json
import shutil
import sys
from pathlib import Path

root = Path(__file__).resolve().parent.parent
built, page = Path(sys.argv[1]), Path(sys.argv[2])
web = root / "src" / "web"
icons = root / "desktop" / "icons"


def digest(data: bytes) -> str:
    return hashlib.sha256(data).hexdigest()[:16]


def write(name: str, data: bytes) -> None:
    (page / name).write_bytes(data)


if page.exists():
    shutil.rmtree(page)
page.mkdir(parents=True)

files = {}
for kind in ("js", "wasm", "data"):
    raw = (built / f"index.{kind}").read_bytes()
    # mtime 0: the same build gives the same bytes, and so the same name.
    packed = gzip.compress(raw, compresslevel=9, mtime=0)
    name = f"game.{digest(raw)}.{kind}"
    write(name, raw)
    write(name + ".gz", packed)
    files[kind] = {"name": name + ".gz", "size": len(packed), "plain": name, "plainSize": len(raw)}

# The build, named by all it loads: the service worker's store for this build's files.
build = digest("".join(f["name"] for f in files.values()).encode())
files["build"] = build

# The page's icon and the app's, the game's own as drawn for the desktop.
shutil.copyfile(icons / "32x32" / "apps" / "farmyard-cannon.png", page / "favicon.png")
app_icons = []
for side in (64, 128, 256):
    name = f"icon-{side}.png"
    shutil.copyfile(icons / f"{side}x{side}" / "apps" / "farmyard-cannon.png", page / name)
    app_icons.append({"src": name, "sizes": f"{side}x{side}", "type": "image/png"})
manifest = {
    "name": "Farmyard Cannon",
    "short_name": "Farmyard Cannon",
    "description": "Fire pigs, cows and sheep from a cannon to knock the cakes off a farmyard of blocks.",
    "start_url": "./",
    "scope": "./",
    "display": "fullscreen",
    "orientation": "landscape",
    "background_color": "#000000",
    "theme_color": "#000000",
    "icons": app_icons,
}
write("manifest.webmanifest", (json.dumps(manifest, indent=2) + "\n").encode())

# What a visit stores for the network's absence: the page, its icons and this build's files
# (the compressed ones: a browser that stores files for later can inflate them).
offline = ["./", "favicon.png", "manifest.webmanifest"] + [i["src"] for i in app_icons]
offline += [files[kind]["name"] for kind in ("js", "wasm", "data")]
worker = (web / "sw.js").read_text()
worker = worker.replace("'{{{ BUILD }}}'", json.dumps(build)).replace("'{{{ FILES }}}'", json.dumps(offline))
write("sw.js", worker.encode())

loader = (web / "loader.js").read_text()
script = f"<script>\nvar gameFiles = {json.dumps(files)};\n{loader}</script>"
shell = (web / "shell.html").read_text()
if "{{{ SCRIPT }}}" not in shell:
    sys.exit("web-page.py: src/web/shell.html has no {{{ SCRIPT }}} for the loader")
write("index.html", shell.replace("{{{ SCRIPT }}}", script).encode())
