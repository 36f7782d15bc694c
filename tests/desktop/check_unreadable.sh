#!/usr/bin/env bash
# A month file its owner may not read (mode 000) is never a silent zero: the
# terminal prints what it could read, one line naming the file on stderr, and
# exits 1. Root reads any file, so as root the commands run as "nobody".
#   check_unreadable.sh FENNICK
set -u
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
month=$(date +%Y%m)
mkdir -p "$home/Library/fennick"
file=$home/Library/fennick/TLOG$month.txt
printf '2024/03/15 09:00:00\tCheckIn:\t%s01090000\n' "$month" >"$file"
chmod 000 "$file"
run=()
if [ "$(id -u)" = 0 ]; then
    command -v setpriv >/dev/null || exit 77
    chown -R nobody "$home" && chmod 755 "$home"
    run=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
status=0
for command in "report daily" "report monthly" "status"; do
    # A coverage build writes its counts where "nobody" may write.
    # shellcheck disable=SC2086
    "${run[@]}" env -i HOME="$home" XDG_RUNTIME_DIR="$home" LANG=C.UTF-8 GCOV_PREFIX="$home/gcov" \
        "$1" $command >"$home/out" 2>"$home/err"
    code=$?
    if [ $code != 1 ] || [ "$(wc -l <"$home/err")" != 1 ] || [ ! -s "$home/out" ] ||
        ! grep -q "TLOG$month.txt cannot be read: Permission denied" "$home/err"; then
        echo "fennick $command: exit $code, stderr: $(cat "$home/err")"
        status=1
    fi
done
exit $status
