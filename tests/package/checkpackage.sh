#!/usr/bin/env bash
# The Debian package and the manual pages, checked as a user would meet them. One command per test:
#   build DIR                 make the package into DIR with CPack (the fixture of the others)
#   contents DIR              unpack it into a scratch root: its files, its control fields, the desktop
#                             entry and metainfo validators, and the installed dedicated host starting
#   lintian DIR README        no lintian error; every warning left is named in the README
#   manpages MANDIR           man renders every page without a warning
#   options MORLU MANDIR      the options "morlu --help" lists are the options the page lists
set -uo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }

the_deb() {
    local debs=("$1"/morlu_*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one morlu_*.deb in $1, found: ${debs[*]}"
    echo "${debs[0]}"
}

case "${1:-}" in
build)
    dir=$2
    rm -rf "$dir" && mkdir -p "$dir" || fail "cannot make $dir"
    cpack -G DEB --config "$3/CPackConfig.cmake" -B "$dir" >"$dir/cpack.log" 2>&1 ||
        { cat "$dir/cpack.log"; fail "cpack"; }
    deb=$(the_deb "$dir") || exit 1
    name=$(basename "$deb")
    [[ $name =~ ^morlu_[0-9]+\.[0-9]+\.[0-9]+-1_$(dpkg --print-architecture)\.deb$ ]] || fail "file name $name"
    echo "built $name"
    ;;

contents)
    deb=$(the_deb "$2") || exit 1
    root=$2/root
    rm -rf "$root"
    dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x"
    id=io.github.morlu.Morlu
    expected=(
        usr/games/morlu
        usr/games/morlu-tally
        usr/games/morlu-game
        usr/share/applications/$id.desktop
        usr/share/metainfo/$id.metainfo.xml
        usr/share/man/man6/morlu.6.gz
        usr/share/man/man6/morlu-tally.6.gz
        usr/share/man/man6/morlu-game.6.gz
        usr/share/doc/morlu/copyright
        usr/share/doc/morlu/changelog.Debian.gz
    )
    for size in 16 32 48 64 128 256; do
        expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
    done
    actual=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort)
    wanted=$(printf '%s\n' "${expected[@]}" | sort)
    [ "$actual" = "$wanted" ] || fail "files differ (< in the package, > expected):
$(diff <(echo "$actual") <(echo "$wanted"))"

    # Control fields: where it goes, and dependencies both computed and declared.
    for field in "Package: morlu" "Section: games" "Priority: optional"; do
        dpkg-deb -f "$deb" "${field%%:*}" | grep -qx "${field#*: }" || fail "control field $field"
    done
    depends=$(dpkg-deb -f "$deb" Depends)
    for dependency in libc6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6multimedia6 \
        gstreamer1.0-plugins-good fonts-dejavu-core; do
        [[ ", $depends," == *", $dependency"[\ ,]* ]] || fail "Depends lacks $dependency: $depends"
    done
    for program in usr/games/morlu usr/games/morlu-tally usr/games/morlu-game; do
        file -b "$root/$program" | grep -q "ELF.*stripped" || fail "$program: $(file -b "$root/$program")"
        file -b "$root/$program" | grep -q "not stripped" && fail "$program is not stripped"
    done
    zcat "$root/usr/share/doc/morlu/copyright" >/dev/null 2>&1 && fail "copyright must be plain text"
    head -1 "$root/usr/share/doc/morlu/copyright" | grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
        fail "copyright is not in the machine-readable format"
    zcat "$root/usr/share/doc/morlu/changelog.Debian.gz" | head -1 |
        grep -q "^morlu ($(dpkg-deb -f "$deb" Version)) " || fail "changelog.Debian does not name this version"

    out=$(desktop-file-validate "$root/usr/share/applications/$id.desktop" 2>&1)
    [ $? -eq 0 ] && [ -z "$out" ] || fail "desktop-file-validate: $out"
    out=$(appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" 2>&1) ||
        fail "appstreamcli validate: $out"

    # The installed program serves as a dedicated host: it prints its port and ends on SIGTERM.
    "$root/usr/games/morlu" --server --port 0 >"$2/server.out" 2>&1 &
    pid=$!
    for _ in $(seq 300); do
        grep -q "^Listening on port [1-9][0-9]*$" "$2/server.out" && break
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
    done
    grep -q "^Listening on port [1-9][0-9]*$" "$2/server.out" ||
        { kill $pid 2>/dev/null; fail "the installed morlu --server printed no port: $(cat "$2/server.out")"; }
    kill -TERM $pid
    wait $pid || fail "the installed morlu --server ended with status $? on SIGTERM"
    "$root/usr/games/morlu" --version | grep -qx "morlu $(dpkg-deb -f "$deb" Version | sed 's/-[^-]*$//')" ||
        fail "morlu --version does not give the package's version"
    ;;

lintian)
    deb=$(the_deb "$2") || exit 1
    report=$(lintian --no-cfg "$deb" 2>&1)
    echo "$report"
    grep -q "^E: " <<<"$report" && fail "lintian reports errors"
    for tag in $(sed -n 's/^W: morlu[^:]*: \([a-z0-9-]*\).*/\1/p' <<<"$report" | sort -u); do
        grep -q "\`$tag\`" "$3" || fail "lintian warning $tag is not listed with its reason in the README"
    done
    ;;

manpages)
    for page in "$2"/*.[1-9]; do
        out=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
        [ -z "$out" ] || fail "$(basename "$page"): $out"
        MANWIDTH=80 man -l "$page" 2>/dev/null | grep -q "^EXIT STATUS" || fail "$(basename "$page") has no EXIT STATUS"
    done
    ;;

options)
    usage=$("$2" --help) || fail "morlu --help ended with an error"
    listed=$(sed -n 's/^  \(--[a-z-]*\).*/\1/p' <<<"$usage" | sort)
    # Each option of the page is a .TP paragraph headed by .B or .BI and the option.
    documented=$(sed -n '/^\.SH OPTIONS/,/^\.SH /p' "$3/morlu.6" |
        sed -n '/^\.TP/{n;s/^\.BI\{0,1\} \(\\-\\-[a-z\\-]*\).*/\1/p}' | sed 's/\\-/-/g' | sort)
    [ -n "$listed" ] || fail "morlu --help lists no options"
    [ "$listed" = "$documented" ] || fail "options differ (< --help, > the page):
$(diff <(echo "$listed") <(echo "$documented"))"
    ;;

*)
    fail "usage: checkpackage.sh build|contents|lintian|manpages|options ..."
    ;;
esac
