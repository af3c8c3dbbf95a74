#!/usr/bin/env bash
# Runs the playlist editor's bad-input tests on folder trees made here:
#   loop/      two files, and links that lead back into the tree (inner/back
#              to loop itself, self to loop)
#   guarded/   a file and a folder "locked" that cannot be read
#   long/      names whose full Windows path has 255 characters (taken), 256
#              characters, and a name of 255 characters itself (both too long)
#   many/      10 000 files in 100 folders, links to one short stream (in
#              one folder each file would cost the engine's search of it for
#              a description file, which under Wine reads the whole folder)
#   folders.pls  a playlist whose entries are those folders
# A folder cannot be made unreadable for root, which reads every folder: as
# root the tests run without the capabilities that let it.
#   usage: editor_bad_input_test.sh TREES_DIR SOURCE.mp2 TEST_EXE
set -euo pipefail
trees=${1:?usage: editor_bad_input_test.sh TREES_DIR SOURCE.mp2 TEST_EXE}
source_stream=${2:?usage}
tests=${3:?usage}

mkdir -p "$trees"
chmod 755 "$trees/guarded/locked" 2>/dev/null || true
python3 - "$trees" "$source_stream" <<'PY'
import os, shutil, sys
trees, source = sys.argv[1], sys.argv[2]
windows = lambda path: "Z:" + os.path.abspath(path).replace("/", "\\")

def fresh(name):
    path = os.path.join(trees, name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path

def link(target, name):
    os.link(target, name)

stream = os.path.join(trees, "source.mp2")
shutil.copyfile(source, stream)

loop = fresh("loop")
os.makedirs(os.path.join(loop, "inner"))
link(stream, os.path.join(loop, "a.mp2"))
link(stream, os.path.join(loop, "inner", "b.mp2"))
os.symlink("..", os.path.join(loop, "inner", "back"))
os.symlink(".", os.path.join(loop, "self"))

guarded = fresh("guarded")
os.makedirs(os.path.join(guarded, "locked"))
link(stream, os.path.join(guarded, "open.mp2"))

long = fresh("long")
folder = windows(long) + "\\"
for length in (255, 256):
    name = "n" * (length - len(folder) - 4) + ".mp2"
    assert len(folder + name) == length
    link(stream, os.path.join(long, name))
link(stream, os.path.join(long, "x" * 251 + ".mp2"))

many = fresh("many")
for i in range(10000):
    if i % 100 == 0:
        os.makedirs(os.path.join(many, "%03d" % (i // 100)))
    link(stream, os.path.join(many, "%03d" % (i // 100), "%05d.mp2" % i))

entries = [windows(os.path.join(trees, name)) for name in ("loop", "guarded", "many")]
with open(os.path.join(trees, "folders.pls"), "w", newline="\r\n") as playlist:
    playlist.write("[playlist]\nNumberOfEntries=3\n")
    for i, entry in enumerate(entries, 1):
        playlist.write("File%d=%s\n" % (i, entry))
PY

chmod 000 "$trees/guarded/locked"
trap 'chmod 755 "$trees/guarded/locked"' EXIT
run=(wine "$tests")
if [ "$(id -u)" = 0 ]; then
  run=(setpriv --bounding-set -dac_override,-dac_read_search wine "$tests")
fi
"${run[@]}"
