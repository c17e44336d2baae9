#!/usr/bin/env bash
# Makes docs/screenshot.png: opens the bundled sample site in orvane on a virtual
# X display (Xvfb), as a newcomer would see it, selects the home page and takes a
# picture of the screen. With "en" the window is English and the picture is
# docs/screenshot-en.png.
#
#   tools/screenshot.sh [BUILD_DIR] [ja|en]     (default: build ja)
#
# Needs xvfb-run, xdotool and ImageMagick's import; installs them with apt-get
# when missing and run as root.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
language=${2:-ja}
site="$top/examples/site/"
case "$language" in
ja) output="$top/docs/screenshot.png" setting=1 summary='^情報$' ;;
en) output="$top/docs/screenshot-en.png" setting=2 summary='^Information$' ;;
*)
    echo "usage: $0 [BUILD_DIR] [ja|en]" >&2
    exit 2
    ;;
esac

if [ ! -f "${site}index.html" ]; then
    echo "screenshot: the sample site ${site} is missing; nothing to show" >&2
    exit 1
fi
if [ ! -x "$build/ui/orvane" ]; then
    echo "screenshot: $build/ui/orvane is not built; run: cmake --build $build --target orvane" >&2
    exit 1
fi

needed=()
command -v xvfb-run >/dev/null || needed+=(xvfb xauth)
command -v xdotool >/dev/null || needed+=(xdotool)
command -v import >/dev/null || needed+=(imagemagick)
if [ ${#needed[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "screenshot: please install ${needed[*]} (apt-get install ${needed[*]})" >&2
        exit 1
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${needed[@]}" </dev/null
fi

work=$(mktemp -d)
# The picture shows the site's path: a copy in a neutral place keeps the
# machine's own folders out of it.
shown=/tmp/orvane-sample/site/
rm -rf /tmp/orvane-sample && mkdir -p "$shown" && cp -R "$site." "$shown"
site=$shown
trap 'rm -rf "$work" /tmp/orvane-sample' EXIT
# A copy of the program keeps its settings beside it, so the windows open where
# this script puts them and the user's own settings stay untouched. Its
# translations lie where an install puts them, next to its folder.
mkdir -p "$work/bin" "$work/share/orvane"
cp "$build/ui/orvane" "$work/bin/orvane"
cp -R "$build/share/orvane/translations" "$work/share/orvane/"
printf '[Option]\r\nLanguage=%s\r\n[WindowState]\r\nLeft=8\r\nTop=8\r\n[ProjectWindowState]\r\nLeft=605\r\nTop=8\r\nVisible=1\r\n' \
    "$setting" >"$work/bin/orvane.ini"
# Project files hold absolute paths; the top page in upper case, as saved.
printf '[OrvaneProject]\r\nHomeDir=%s\r\nServerRoot=\r\nTopFile0=%s\r\n' \
    "$site" "$(printf '%s' "${site}index.html" | tr 'a-z' 'A-Z')" >"$work/sample.ovp"

cat >"$work/shoot" <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
work=$1 output=$2 summary=$3
export HOME=$work XDG_RUNTIME_DIR=$work/run
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
"$work/bin/orvane" "$work/sample.ovp" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
# The check ends with its summary box; OK closes it and the project's name
# goes into the title.
box=$(timeout 30 xdotool search --sync --onlyvisible --name "$summary" | head -n1)
xdotool windowfocus --sync "$box" key Return
main=$(timeout 10 xdotool search --sync --onlyvisible --name 'sample\.ovp - Orvane' | head -n1)
# Click the tree's root row, then walk down: open the drafts and images folders
# on the way and stop on the home page, whose links fill the lists.
xdotool windowfocus --sync "$main" mousemove 60 94 click 1
for key in Down Right Down Down Down Right Down Down Down Down; do
    xdotool key "$key"
    sleep 0.1
done
xdotool mousemove 1010 510
sleep 1
import -window root -crop 1014x514+0+0 +repage "$output"
[ -n "$main" ]
INNER
chmod +x "$work/shoot"
xvfb-run -a -s "-screen 0 1024x540x24" "$work/shoot" "$work" "$output" "$summary"
echo "screenshot: wrote $output"
