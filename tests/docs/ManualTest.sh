#!/bin/sh
# The user manual in docs/manual/: both languages have the same pages, every
# local link and picture resolves, German pages show the German screenshots,
# every page of windows.tsv exists in both languages, and each index links
# every page of its language.
# Usage: ManualTest.sh [SOURCE_DIR]   (default: the tree this script is in)
set -u
root=${1:-$(dirname "$0")/../..}
manual=$root/docs/manual
status=0
fail() { echo "FAIL: $*"; status=1; }

[ -d "$manual/en" ] && [ -d "$manual/de" ] || { echo "FAIL: no $manual/en or $manual/de"; exit 1; }
pages() { (cd "$manual/$1" && ls *.html) 2>/dev/null; }
[ -n "$(pages en)" ] || fail "no pages in $manual/en"

# The same set of pages in both languages.
for page in $(pages en); do [ -f "$manual/de/$page" ] || fail "de/$page is missing (en/$page exists)"; done
for page in $(pages de); do [ -f "$manual/en/$page" ] || fail "en/$page is missing (de/$page exists)"; done

# Every href and src that is not a web address or a mail address names a file.
for lang in en de; do
    [ -f "$manual/$lang/index.html" ] || echo "FAIL: $lang/index.html is missing"
    for page in $(pages $lang); do
        file=$manual/$lang/$page
        tr '\n' ' ' <"$file" | grep -o -i -E '(href|src)="[^"]*"' | sed -E 's/^[^"]*"//; s/"$//' |
        while IFS= read -r target; do
            case $target in
                http:* | https:* | mailto:* | "#"*) continue ;;
            esac
            path=${target%%#*}
            [ -n "$path" ] || continue
            [ -f "$manual/$lang/$path" ] || echo "FAIL: $lang/$page links to $target, which does not exist"
        done
    done
done >"${TMPDIR:-/tmp}/manual-links.$$"
if [ -s "${TMPDIR:-/tmp}/manual-links.$$" ]; then cat "${TMPDIR:-/tmp}/manual-links.$$"; status=1; fi
rm -f "${TMPDIR:-/tmp}/manual-links.$$"

# A German page shows the German screenshot where there is one; an English
# page never shows a German one.
for page in $(pages de); do
    for picture in $(grep -o -E 'src="[^"]*\.png"' "$manual/de/$page" | sed -E 's/^src="//; s/"$//'); do
        case $picture in *-de.png) continue ;; esac
        german=${picture%.png}-de.png
        [ -f "$manual/de/$german" ] && fail "de/$page shows $picture; use $german"
    done
done
for page in $(pages en); do
    grep -q -E 'src="[^"]*-de\.png"' "$manual/en/$page" && fail "en/$page shows a German screenshot"
done

# Each index links every other page of its language.
for lang in en de; do
    [ -f "$manual/$lang/index.html" ] || continue
    for page in $(pages $lang); do
        [ "$page" = index.html ] && continue
        grep -q "href=\"$page\"" "$manual/$lang/index.html" || fail "$lang/index.html does not link $page"
    done
done

# windows.tsv: comment lines start with "#"; each other line is objectName TAB page.
map=$manual/windows.tsv
if [ -f "$map" ]; then
    tab=$(printf '\t')
    line=0
    while IFS= read -r row || [ -n "$row" ]; do
        line=$((line + 1))
        case $row in "#"* | "") continue ;; esac
        name=${row%%"$tab"*}
        page=${row#*"$tab"}
        if [ "$name" = "$row" ] || [ -z "$name" ] || [ -z "$page" ]; then
            fail "windows.tsv line $line is not 'objectName<TAB>page': $row"
            continue
        fi
        for lang in en de; do
            [ -f "$manual/$lang/$page" ] || fail "windows.tsv line $line: $lang/$page does not exist"
        done
    done <"$map"
    head -n 1 "$map" | grep -q '^#' || fail "windows.tsv does not start with a # comment"
else
    fail "$map is missing"
fi

[ $status = 0 ] && echo "manual: $(pages en | wc -l) pages in each language, links and windows.tsv complete"
exit $status
