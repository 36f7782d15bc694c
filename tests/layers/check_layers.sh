#!/usr/bin/env bash
# Fails when a source file includes from a layer its folder may not use.
# The allowed dependencies are written once, in src/layers.txt.
#   check_layers.sh SRC_DIR
set -u
src=${1:?usage: check_layers.sh SRC_DIR}
declare -A allowed
while IFS= read -r line; do
    line=${line%%#*}
    [[ $line == *:* ]] || continue
    allowed[${line%%:*}]=" ${line#*:} "
done <"$src/layers.txt"

status=0
while IFS= read -r file; do
    relative=${file#"$src"/}
    layer=${relative%%/*}
    if [[ -z ${allowed[$layer]+set} ]]; then
        echo "$relative: folder '$layer' is not in layers.txt"
        status=1
        continue
    fi
    while IFS= read -r target; do
        used=${target%%/*}
        [[ $target == */* ]] || continue
        [[ $used == "$layer" ]] && continue
        if [[ ${allowed[$layer]} != *" $used "* ]]; then
            echo "$relative: includes \"$target\", but $layer may not use $used"
            status=1
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" -name '*.cpp' -o -name '*.h' | sort)
exit $status
