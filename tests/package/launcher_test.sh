#!/usr/bin/env bash
# The launcher tavrin-sici in a package tree of its own, with stand-ins for the reader and the
# collection builder that note how they were started: the per-user folder it prepares, what it
# keeps of the reader's writes, the full collection, and its messages on missing or odd folders.
#
#   launcher_test.sh LAUNCHER VERSION FETCH_CORPUS
set -uo pipefail
[ $# -eq 3 ] || { echo "usage: launcher_test.sh LAUNCHER VERSION FETCH_CORPUS" >&2; exit 2; }
launcher_source=$(readlink -f "$1")
version=$2
fetch_corpus=$(readlink -f "$3")

failures=0
check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok      $what"
  else
    echo "FAILED  $what"
    failures=$((failures + 1))
  fi
}

t=$(mktemp -d)
trap 'chmod -R u+w "$t" 2>/dev/null; rm -rf "$t"' EXIT
# Relative paths a faulty launcher might follow land in the scratch folder, not in the caller's.
cd "$t" || exit 1

# The package's tree: the launcher, the stand-ins, the pinned corpus fetcher, a collection.
root=$t/root
programs=$root/usr/lib/tavrin-sici
collection=$root/usr/share/tavrin-sici/collection
mkdir -p "$root/usr/bin" "$programs" "$collection"
cp "$launcher_source" "$root/usr/bin/tavrin-sici"
cp "$fetch_corpus" "$programs/fetch-corpus"
launcher=$root/usr/bin/tavrin-sici

# The reader notes its folder, the launcher it was told of and its arguments, and writes what the
# real one writes: the first-run marker, favourites, and the scratch list inside the catalogue.
cat >"$programs/sici" <<'EOF'
#!/bin/bash
{
  echo "cwd=$PWD"
  echo "launcher=${TAVRIN_SICI_LAUNCHER:-}"
  printf 'arg=%s\n' "$@"
} >"$REPORT"
[ -e ado.dll ] || printf ok >ado.dll
[ -e library.db ] || printf favourites >library.db
printf scratch >>sici.idb
EOF
# The builder prints progress as sici-collect does and writes the three files.
cat >"$programs/sici-collect" <<'EOF'
#!/bin/bash
printf '%s\n' "$*" >>"$COLLECT_LOG"
out=.
while [ $# -gt 0 ]; do
  [ "$1" = --out ] && out=$2
  shift
done
echo "reading 诗经, 楚辞, 曹操诗集 (0 poems so far)"
echo "progress: 50% of 345050 poems"
echo "progress: 100% of 345050 poems"
if [ -n "${COLLECT_FAILS:-}" ]; then
  echo "sici-collect: the corpus is damaged" >&2
  exit 1
fi
printf 'full catalogue' >"$out/sici.idb"
printf 'full texts' >"$out/sici.dbf"
echo 345050 >"$out/sici.poems"
echo "time: 1 s"
EOF
chmod +x "$programs/sici" "$programs/sici-collect" "$programs/fetch-corpus"
printf 'dictionary' >"$programs/sici.pinyin"
printf 'catalogue v1' >"$collection/sici.idb"
printf 'texts' >"$collection/sici.dbf"
echo 104862 >"$collection/sici.poems"
printf 'readme' >"$collection/readme.txt"
touch -d '-1 hour' "$programs"/* "$collection"/*

export REPORT=$t/report COLLECT_LOG=$t/collect.log
home=$t/home
mkdir -p "$home"
# A clean environment for each start: a fresh home, no XDG variables unless a check sets them.
run() { env -i PATH=/usr/bin:/bin HOME="$home" REPORT="$REPORT" COLLECT_LOG="$COLLECT_LOG" "$@"; }
reported() { grep -qxF -- "$1" "$REPORT"; }
started() { [ -f "$REPORT" ]; }
forget() { rm -f "$REPORT" "$COLLECT_LOG"; }
links_to() { [ -L "$1" ] && [ "$(readlink "$1")" = "$2" ]; }
same() { cmp -s "$1" "$2"; }
holds() { [ "$(cat "$1")" = "$2" ]; }
says() { grep -qF -- "$2" <<<"$1"; }
collected() { [ -f "$COLLECT_LOG" ] && [ "$(wc -l <"$COLLECT_LOG")" -eq "$1" ]; }

out=$(run "$launcher" --version)
check "--version prints the version" test "$out" = "tavrin-sici $version"
check "--version prepares no folder" test -z "$(ls -A "$home")"
check "--help prints the usage" says "$(run "$launcher" --help)" "usage: tavrin-sici"

mine=$home/.local/share/tavrin-sici
work=$mine/collection
forget
run "$launcher" --painted "two words"
check "the first start runs the reader in ~/.local/share/tavrin-sici/collection" reported "cwd=$work"
check "the reader gets the arguments" bash -c 'grep -qx "arg=--painted" "$1" && grep -qx "arg=two words" "$1"' sh "$REPORT"
check "the reader is told the launcher's path for its desktop link" reported "launcher=$launcher"
for file in sici.dbf sici.poems readme.txt; do
  check "$file is a link to the installed one" links_to "$work/$file" "$collection/$file"
done
check "the catalogue is the user's own copy, since the reader writes into it" \
  bash -c '[ -f "$1" ] && [ ! -L "$1" ] && [ -w "$1" ]' sh "$work/sici.idb"
check "the copy is the installed catalogue, with the reader's scratch list" holds "$work/sici.idb" "catalogue v1scratch"

# The reader's own files and its changes to the catalogue stay as it left them.
touch -d '-10 minutes' "$work/ado.dll" "$mine/library.db"
printf 'the user favourites' >"$mine/library.db"
touch -d '-10 minutes' "$mine/library.db"
stamp() { stat -c '%s %Y' "$work/ado.dll" "$mine/library.db"; }
before=$(stamp)
forget
run "$launcher"
check "the second start runs the reader in the same folder" reported "cwd=$work"
check "the first-run marker and the favourites are untouched" test "$before" = "$(stamp)"
check "the favourites keep their content" holds "$mine/library.db" "the user favourites"
check "the catalogue copy is not renewed while the installed one is unchanged" \
  holds "$work/sici.idb" "catalogue v1scratchscratch"

# An upgrade installs a new catalogue: the copy is renewed, and a journal left by a reader that
# stopped mid-search goes with the old copy.
printf 'catalogue v2' >"$collection/sici.idb"
printf 'stale journal' >"$work/sici.idb-journal"
before=$(stamp)
forget
run "$launcher"
check "a new installed catalogue renews the copy" holds "$work/sici.idb" "catalogue v2scratch"
check "the old copy's journal goes with it" test ! -e "$work/sici.idb-journal"
check "the upgrade leaves the marker and the favourites alone" test "$before" = "$(stamp)"

# A link left by a copy of the package elsewhere is renewed.
ln -sfn /nonexistent/old/sici.dbf "$work/sici.dbf"
forget
run "$launcher"
check "a link to another install is pointed at this one" links_to "$work/sici.dbf" "$collection/sici.dbf"

# A catalogue that is a link (the installed file, which the reader must not write) becomes a copy.
ln -sfn "$collection/sici.idb" "$work/sici.idb"
forget
run "$launcher"
check "a linked catalogue is replaced by a copy" bash -c '[ -f "$1" ] && [ ! -L "$1" ]' sh "$work/sici.idb"
check "  and the installed one is not written" holds "$collection/sici.idb" "catalogue v2"

# Started through a link elsewhere on PATH, it still finds its package.
mkdir -p "$t/elsewhere"
ln -s "$launcher" "$t/elsewhere/tavrin-sici"
forget
run "$t/elsewhere/tavrin-sici"
check "started through a link, it finds the reader and the collection" reported "cwd=$work"

forget
run env XDG_DATA_HOME="$t/data" "$launcher"
check "XDG_DATA_HOME places the folder" reported "cwd=$t/data/tavrin-sici/collection"
forget
run env XDG_DATA_HOME=relative/data "$launcher"
check "a relative XDG_DATA_HOME is ignored, as the XDG rules say" reported "cwd=$work"

# Missing and odd folders: a clear message, no reader, nothing changed.
forget
out=$(env -i PATH=/usr/bin:/bin REPORT="$REPORT" "$launcher" 2>&1)
check "no HOME and no XDG_DATA_HOME: an error" test $? -ne 0
check "  which says so" says "$out" "neither XDG_DATA_HOME nor HOME is set"
check "  and the reader does not start" bash -c '! [ -f "$1" ]' sh "$REPORT"

printf 'a file' >"$t/not-a-folder"
out=$(run env XDG_DATA_HOME="$t/not-a-folder" "$launcher" 2>&1)
check "XDG_DATA_HOME names a file: an error" test $? -ne 0
check "  which names the folder it cannot make" says "$out" "cannot make the folder $t/not-a-folder/tavrin-sici"
check "  and the reader does not start" bash -c '! [ -f "$1" ]' sh "$REPORT"

rm "$work/sici.poems"
printf 'my own notes' >"$work/sici.poems"
out=$(run "$launcher" 2>&1)
check "a file of the user's where a link belongs: an error" test $? -ne 0
check "  which names it" says "$out" "$work/sici.poems is not a link to the installed sici.poems"
check "  and leaves it alone" holds "$work/sici.poems" "my own notes"
rm "$work/sici.poems"

mv "$collection/sici.dbf" "$t/sici.dbf"
out=$(run "$launcher" 2>&1)
check "a collection file missing from the package: an error" test $? -ne 0
check "  which names it" says "$out" "the collection file $collection/sici.dbf is missing"
mv "$t/sici.dbf" "$collection/sici.dbf"

mv "$programs/sici" "$t/sici"
out=$(run "$launcher" 2>&1)
check "the reader missing from the package: an error naming it" says "$out" "the reader $programs/sici is missing"
mv "$t/sici" "$programs/sici"
check "  and nothing started meanwhile" bash -c '! [ -f "$1" ]' sh "$REPORT"

# The full collection: built once from the corpus, with sici-collect's progress passed on.
corpus=$t/corpus
mkdir -p "$corpus"
forget
out=$(run env SICI_CORPUS="$corpus" "$launcher" --all 2>&1)
check "--all builds the full collection with sici-collect --all" \
  holds "$COLLECT_LOG" "--corpus $corpus --out $mine/all --all"
check "  shows sici-collect's percent lines, as lines off a terminal" \
  bash -c 'grep -qx "progress: 50% of 345050 poems" <<<"$1" && grep -qx "progress: 100% of 345050 poems" <<<"$1"' sh "$out"
check "  and starts the reader over it" reported "cwd=$mine/all"
check "  with the readme" links_to "$mine/all/readme.txt" "$collection/readme.txt"
check "  and one first-run marker for both collections" links_to "$mine/all/ado.dll" ../collection/ado.dll
check "  leaving the default folder's favourites alone" holds "$mine/library.db" "the user favourites"
# On a terminal each percent line overwrites the one before.
rm -rf "$mine/all"
forget
run env SICI_CORPUS="$corpus" script -qec "$launcher --all" /dev/null >"$t/terminal" 2>&1
check "  on a terminal, in place on one line" \
  grep -qF $'\rprogress: 50% of 345050 poems\e[K\rprogress: 100% of 345050 poems\e[K' "$t/terminal"
forget
run env SICI_CORPUS="$corpus" "$launcher" --all >/dev/null 2>&1
check "--all again uses the built collection without rebuilding it" bash -c '! [ -f "$1" ]' sh "$COLLECT_LOG"
check "  in its folder" reported "cwd=$mine/all"
forget
run "$launcher"
check "a start without --all reads the default collection again" reported "cwd=$work"
touch "$programs/sici-collect"
forget
run env SICI_CORPUS="$corpus" "$launcher" --all >/dev/null 2>&1
check "a newer sici-collect (an upgrade) rebuilds the full collection" collected 1

# The corpus from the user's cache, where the packaged fetch-corpus keeps the pinned release.
rm -rf "$mine/all"
cache=$t/cache
mkdir -p "$cache/sici/chinese-poetry-2.0.1/package"
touch "$cache/sici/chinese-poetry-2.0.1/.complete"
forget
run env XDG_CACHE_HOME="$cache" "$launcher" --all >/dev/null 2>&1
check "--all takes the corpus fetch-corpus keeps in the cache" \
  holds "$COLLECT_LOG" "--corpus $cache/sici/chinese-poetry-2.0.1/package --out $mine/all --all"

# Neither the corpus nor npm: the message says what is missing and the one command that mends it.
rm -rf "$mine/all"
nonpm=$t/path-without-npm
mkdir -p "$nonpm"
# What the launcher and fetch-corpus run, and no npm.
for program in bash cat chmod cp dirname ln mkdir mktemp mv readlink rm sha512sum stat tar touch; do
  ln -s "$(command -v "$program")" "$nonpm/$program"
done
forget
out=$(env -i PATH="$nonpm" HOME="$home" REPORT="$REPORT" COLLECT_LOG="$COLLECT_LOG" \
  XDG_CACHE_HOME="$t/empty-cache" "$launcher" --all 2>&1)
check "--all without the corpus and without npm: an error" test $? -ne 0
check "  which names the corpus and npm" says "$out" "chinese-poetry 2.0.1 corpus, which is not in $t/empty-cache/sici/"
check "  and the command that gets npm" says "$out" "sudo apt-get install npm"
check "  and neither builds nor starts" bash -c '! [ -f "$1" ] && ! [ -f "$2" ]' sh "$REPORT" "$COLLECT_LOG"

forget
out=$(run env SICI_CORPUS="$corpus" COLLECT_FAILS=1 "$launcher" --all 2>&1)
check "a failing sici-collect: an error" test $? -ne 0
check "  with its own message" says "$out" "sici-collect: the corpus is damaged"
check "  and the reader does not start" bash -c '! [ -f "$1" ]' sh "$REPORT"

forget
out=$(run env SICI_CORPUS="$t/no-such-corpus" "$launcher" --all 2>&1)
check "SICI_CORPUS naming no folder: an error which says so" says "$out" "SICI_CORPUS names $t/no-such-corpus, which is not a folder"

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
