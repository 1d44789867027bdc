#!/usr/bin/env bash
# tst_install.sh SOURCE_DIR BUILD_DIR
# Installs twice over one program folder: the records stay byte for byte, the
# program's own files are refreshed; the menu entry is valid; --version and
# --help answer without a display.
set -euo pipefail
source_dir="$1"
export KOLVANE_BUILD="$2"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
export XDG_DATA_HOME="$tmp/share"
folder="$tmp/School \$Records"   # a blank and a dollar, as a user may name it
fail() { echo "FAIL: $*" >&2; exit 1; }

"$source_dir/scripts/install" "$folder"
for f in kolvane Progs/Kolvane.db Help/Contents.html Sounds/Wav/Intro.Wav Sounds/Midi/OdeToJoy.mid; do
  [ -s "$folder/$f" ] || fail "the first install left no $f"
done

# The school's records, and one of the program's own files spoiled.
sqlite3 "$folder/Progs/Kolvane.db" "INSERT INTO Student (Number, Surname) VALUES ('S1', 'Adeyemi')"
printf 'Level1=JSS 1\n' > "$folder/Progs/Kolvane.ini"
printf 'SchoolName=Brindlemark\n' > "$folder/Progs/Kolvane.settings"
cp "$folder/Progs/Kolvane.db" "$folder/Backup/KolvaneBackup.db"
printf '<p>report</p>' > "$folder/Reports/Fees.htm"
printf 'GIF89a' > "$folder/Pictures/FrontView/S1.gif"
printf 'GIF89a logo' > "$folder/Pictures/SchoolLogo.gif"
printf 'spoiled' > "$folder/Help/Contents.html"
records=(Progs/Kolvane.db Progs/Kolvane.ini Progs/Kolvane.settings Backup/KolvaneBackup.db
         Reports/Fees.htm Pictures/FrontView/S1.gif Pictures/SchoolLogo.gif)
(cd "$folder" && sha256sum "${records[@]}") > "$tmp/before"

"$source_dir/scripts/install" "$folder"
(cd "$folder" && sha256sum -c --quiet "$tmp/before") || fail "the second install changed the records"
cmp -s "$folder/Help/Contents.html" "$source_dir/data/help/Contents.html" || fail "Help/Contents.html was not refreshed"

# A missing database with a backup beside it is for start-up to restore, not to replace.
rm "$folder/Progs/Kolvane.db"
"$source_dir/scripts/install" "$folder"
[ ! -e "$folder/Progs/Kolvane.db" ] || fail "the install made a database over a backup"

entry="$XDG_DATA_HOME/applications/kolvane.desktop"
desktop-file-validate "$entry" || fail "kolvane.desktop does not validate"
grep -qxF 'Exec="'"$tmp"'/School \\$Records/kolvane"' "$entry" || fail "Exec: $(grep ^Exec= "$entry")"
cmp -s "$XDG_DATA_HOME/icons/hicolor/scalable/apps/kolvane.svg" "$source_dir/data/desktop/kolvane.svg" ||
  fail "the icon is not installed"

for arg in --version --help; do
  out="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$folder/kolvane" "$arg")" ||
    fail "kolvane $arg ended with $?"
  echo "$out"
  case "$arg" in
    --version) [ "$out" = "Kolvane 1.4" ] || fail "--version said: $out" ;;
    --help) [[ "$out" == Usage:\ kolvane* ]] || fail "--help said: $out" ;;
  esac
done
[ ! -e "$folder/Progs/Kolvane.lock" ] || fail "--version or --help took the program folder's lock"
echo "PASS"
