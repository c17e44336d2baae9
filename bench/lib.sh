# shellcheck shell=bash
# Pieces shared by bench/run and bench/compare; sourced, not run.
#
# Sets: bench_dir, bench_root, bench_build, bench_sites, bench_links, bench_seed.

bench_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bench_root=$(dirname "$bench_dir")
bench_build=${ORVANE_BENCH_BUILD:-$bench_root/build-bench}
bench_sites=$bench_dir/sites
bench_links=20
bench_seed=1

# Runs a command as root: directly when we are root, else through sudo.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# Installs the Debian packages given whose status is not "installed".
need_debs() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f '${Status}' "$pkg" 2>/dev/null | grep -q "ok installed" ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "bench: installing ${missing[*]}" >&2
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
        "${missing[@]}" >/dev/null
}

need_gnu_time() {
    if /usr/bin/time --version 2>&1 | grep -q GNU; then
        return
    fi
    need_debs time
}

build_programs() {
    # The allocator the programs are built with where it is installed.
    need_debs libmimalloc-dev
    if [ ! -f "$bench_build/CMakeCache.txt" ]; then
        cmake -S "$bench_root" -B "$bench_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DORVANE_BUILD_GUI=OFF -DORVANE_BUILD_TESTS=OFF >/dev/null
    fi
    cmake --build "$bench_build" --target orvane-check orvane-sitegen orvane-readfloor \
        orvane-extract-bench >/dev/null
}

# shellcheck disable=SC2034 # used by the scripts that source this
orvane_check=$bench_build/cli/orvane-check

# Prints the folder of the generated site of n pages.
site_dir() {
    echo "$bench_sites/site-$1"
}

# Makes the site of n pages unless the one on disk came from the same
# generator with the same arguments.
make_site() {
    local n=$1 site
    site=$(site_dir "$n")
    local stamp
    stamp="pages=$n links=$bench_links seed=$bench_seed gen=$(sha1sum "$bench_dir/sitegen.cpp" | cut -c1-12)"
    if [ -d "$site" ] && [ "$(cat "$site.stamp" 2>/dev/null)" = "$stamp" ]; then
        return
    fi
    echo "bench: generating $n pages in $site" >&2
    rm -rf "$site" "$site.stamp"
    mkdir -p "$bench_sites"
    "$bench_build/bench/orvane-sitegen" --pages "$n" --links "$bench_links" \
        --seed "$bench_seed" "$site"
    echo "$stamp" >"$site.stamp"
}

# The floor: reading every file of the site once, in one process (see
# readfloor.cpp for why not find | xargs cat).
export ORVANE_READFLOOR=$bench_build/bench/orvane-readfloor
read_all() {
    "$ORVANE_READFLOOR" "$1" >/dev/null
}

# The second floor: one pass pulling every href and src value out of the
# site's HTML files. The pipe is not decoration: with its output going to
# /dev/null GNU grep stops each file at its first match.
grep_links() {
    LC_ALL=C grep -rhoE --include='*.html' '(href|src)="[^"]*"' "$1" | cat >/dev/null
}

# Runs a command under GNU time; prints "wall cpu peakKB".
measure() {
    local out
    out=$(mktemp)
    /usr/bin/time -o "$out" -f "%e %U %S %M" "$@" >/dev/null || true
    # GNU time puts "Command exited with non-zero status" first when it did.
    tail -n 1 "$out" | awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }'
    rm -f "$out"
}
