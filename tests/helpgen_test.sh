#!/usr/bin/env bash
# tools/helpgen stops the build on help text the program could not show
# right: a topic of the list missing in one language, a link to no topic,
# a topic outside the list; and converts a sound book.
set -u
HELPGEN=$1
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
status=0

book() {  # book DIR: a sound two-language book with topics 0 and 5
    mkdir -p "$1/de" "$1/en"
    printf '0\n  5\n' >"$1/contents.txt"
    for l in de en; do
        printf 'window=W\nback=B\nforward=F\ncontents=C\ntopics=T\n' >"$1/$l/strings.txt"
        printf '@topic 0\n# Contents\n\n@contents\n' >"$1/$l/000.md"
        printf '@topic 5\n# Five\n\nSee [the contents](0), **bold**.\n' >"$1/$l/005.md"
    done
}

expect() {  # expect ok|fail WHAT DIR [message pattern]
    local out rc
    out=$(python3 "$HELPGEN" "$3" "$WORK/out.cpp" 2>&1)
    rc=$?
    if [ "$1" = ok ] && [ $rc -ne 0 ]; then echo "FAIL $2: $out"; status=1; fi
    if [ "$1" = fail ] && { [ $rc -eq 0 ] || ! grep -q -- "$4" <<<"$out"; }; then
        echo "FAIL $2: rc=$rc, '$out'"
        status=1
    fi
}

book "$WORK/good"
expect ok "a sound book" "$WORK/good"
grep -q 'HelpBooks\[HelpLanguageCount\]' "$WORK/out.cpp" || { echo "FAIL: no book tables"; status=1; }

book "$WORK/missing" && rm "$WORK/missing/de/005.md"
expect fail "a topic missing in German" "$WORK/missing" "topic 5 of contents.txt is missing"

book "$WORK/link" && sed -i 's/(0)/(7)/' "$WORK/link/en/005.md"
expect fail "a link to no topic" "$WORK/link" "link to missing topic"

book "$WORK/unlisted" && printf '@topic 9\n# Nine\n\nText.\n' >"$WORK/unlisted/en/009.md"
expect fail "a topic outside the list" "$WORK/unlisted" "not in contents.txt"

[ $status -eq 0 ] && echo "helpgen: 4 cases passed"
exit $status
