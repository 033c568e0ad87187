#!/usr/bin/env bash
# What a user made beside the program (books with their journals, the photo folder, the attachments
# folder, the export file, a password store holding another password) comes through `make program`
# (the first half of `make run`), `cmake --install` over an installation, a rebuild that relinks the
# password store writer and `make clean` byte for byte, while the program's own files are refreshed.
#
# tst_user_data.sh <source folder> <built tree>
# The built tree is the one this test runs from; it stands for the release `make run` builds and is
# only installed from. The program folder, a small build tree holding just the store writer and the
# build root `make clean` sees are all made in a temporary folder.
set -euo pipefail

src=$(realpath "$1")
tree=$(realpath "$2")
tmp=$(mktemp -d)
manifest="$tree/install_manifest.txt"
[ ! -e "$manifest" ] || cp -p "$manifest" "$tmp/manifest"
# Installing writes its manifest into the tree; put the tree back as it was found.
cleanup() {
    if [ -e "$tmp/manifest" ]; then cp -p "$tmp/manifest" "$manifest"; else rm -f "$manifest"; fi
    rm -rf "$tmp"
}
trap cleanup EXIT
# A `make` around CTest must not hand its flags or variables to the one started here.
unset MAKEFLAGS MFLAGS MAKELEVEL

prog=$tmp/Lumivera
small=$tmp/build/small
writer=$small/tools/passwordstore/lumivera_passwordstore
initial=$small/tools/passwordstore/unins000.dll

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The project's own Makefile on the temporary folders. `build` is taken as done: the tree is built.
mk() {
    make --no-print-directory -C "$src" -o deps -o build RELEASE_DIR="$tree" PROGRAM_DIR="$prog" \
        BUILD_ROOT="$tmp/build" "$@"
}

# Name in the program folder, and what the user put there.
user_files=(
    "Ritratti.wmn:archive"
    "Moda.wmn:archive"
    "Moda.wmn-journal:journal"
    "Book_Zudid/Ritratti_1.jpg:photo"
    "Book_Zudid/Moda_2.jpg:photo"
    "Documenti_Allegati/contratto.pdf:attachment"
    "Documenti_Allegati/liberatoria.doc:attachment"
    "Rove_Roruvorerud.xls:export"
)

# Fills a program folder with what a user makes, the store with a password other than the initial one,
# and keeps a copy in <saved> to compare with.
make_user_data() {
    local folder=$1 saved=$2 entry
    for entry in "${user_files[@]}"; do
        mkdir -p "$(dirname "$folder/${entry%%:*}")" "$(dirname "$saved/${entry%%:*}")"
        { echo "${entry##*:} $folder"; head -c 3000 /dev/urandom; } >"$folder/${entry%%:*}"
    done
    "$writer" "$tmp/changed-store" "fotografa2024"
    cmp -s "$tmp/changed-store" "$initial" && fail "a changed store equals the initial one"
    cp "$tmp/changed-store" "$folder/unins000.dll"
    for entry in "${user_files[@]}" unins000.dll:store; do
        cp -p "$folder/${entry%%:*}" "$saved/${entry%%:*}"
    done
}

# Every file the user made is still there, byte for byte.
expect_user_data() {
    local folder=$1 saved=$2 step=$3 entry
    for entry in "${user_files[@]}" unins000.dll:store; do
        cmp -s "$saved/${entry%%:*}" "$folder/${entry%%:*}" ||
            fail "$step: ${entry##*:} ${entry%%:*} in $folder was changed or removed"
    done
}

# A build tree with only the store writer, its initial store and the program folder's store.
cmake -S "$src" -B "$small" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMIVERA_TESTS=OFF >/dev/null
cmake --build "$small" --target lumivera_password_store >/dev/null
cmp -s "$initial" "$small/Lumivera/unins000.dll" || fail "the build gave its program folder no initial store"

# make program: a new program folder gets the program and the initial store.
mk program >/dev/null
for f in lumivera Guida.pdf lumivera.svg lumivera.desktop; do
    [ -f "$prog/$f" ] || fail "make program did not install $f"
done
cmp -s "$initial" "$prog/unins000.dll" || fail "make program did not install the initial store"

make_user_data "$prog" "$tmp/saved-prog"
make_user_data "$small/Lumivera" "$tmp/saved-small"

# make program again, over program files that are out of date or gone: they are refreshed, the rest kept.
echo "out of date" >"$prog/Guida.pdf"
rm "$prog/lumivera.svg"
mk program >/dev/null
cmp -s "$tree/Lumivera/Guida.pdf" "$prog/Guida.pdf" || fail "make program did not refresh Guida.pdf"
cmp -s "$src/assets/app/lumivera.svg" "$prog/lumivera.svg" || fail "make program did not put the icon back"
expect_user_data "$prog" "$tmp/saved-prog" "make program"

# cmake --install over the installation, staged under DESTDIR.
DESTDIR=$tmp cmake --install "$tree" --prefix /Lumivera >/dev/null
expect_user_data "$prog" "$tmp/saved-prog" "cmake --install"

# A rebuild that relinks the store writer rewrites the initial store, not the program folder's.
rm "$writer"
cmake --build "$small" --target lumivera_password_store >/dev/null
[ -x "$writer" ] || fail "the rebuild did not relink the store writer"
[ "$initial" -nt "$tmp/changed-store" ] || fail "the rebuild did not rewrite the initial store"
expect_user_data "$small/Lumivera" "$tmp/saved-small" "rebuild"

# make clean stops, removing nothing, while a program folder in a build tree holds anything a user
# made: all of it, then each file alone (a store put back to the initial one does not count).
refused() {
    if mk clean >"$tmp/clean.out" 2>&1; then
        fail "make clean went on with $1 in a build tree's program folder"
    fi
    grep -q "make clean: " "$tmp/clean.out" || fail "make clean stopped without saying why: $(cat "$tmp/clean.out")"
    [ -x "$writer" ] || fail "make clean removed build products and then stopped"
}
refused "everything"
expect_user_data "$small/Lumivera" "$tmp/saved-small" "make clean"
rm -r "$small/Lumivera"/*.wmn* "$small/Lumivera/Book_Zudid" "$small/Lumivera/Documenti_Allegati" \
    "$small/Lumivera/Rove_Roruvorerud.xls"
cp "$initial" "$small/Lumivera/unins000.dll"
for entry in "${user_files[@]}" unins000.dll:store; do
    file=${entry%%:*}
    mkdir -p "$(dirname "$small/Lumivera/$file")"
    cp "$tmp/saved-small/$file" "$small/Lumivera/$file"
    refused "$file"
    cmp -s "$tmp/saved-small/$file" "$small/Lumivera/$file" || fail "make clean changed $file and then stopped"
    if [ "$file" = unins000.dll ]; then
        cp "$initial" "$small/Lumivera/unins000.dll"
    else
        rm "$small/Lumivera/$file"
        [[ $file != */* ]] || rmdir "$(dirname "$small/Lumivera/$file")"
    fi
done
mk clean >/dev/null
[ ! -e "$tmp/build" ] || fail "make clean left the build trees"
expect_user_data "$prog" "$tmp/saved-prog" "make clean"
echo "PASS"
