#!/usr/bin/env bash
# Checks that every include of the program's folders goes down the layers:
#
#   app  ->  panel  ->  setup  ->  link  ->  model, resources
#   win32 (the handle owners) serves link, panel and app
#   tools, tests, fuzz and bench may include anything.
#
# Usage: check_layers.sh ROOT      checks the tree at ROOT
#        check_layers.sh --self-test
# Prints each upward include as "file:line: ..." and fails when there is one.
set -euo pipefail

# What each folder may include besides itself. A folder that is not listed
# (tools, tests, fuzz, bench) is above all of them and is not checked.
declare -A MayInclude=(
  [resources]=""
  [model]="resources"
  [win32]=""
  [link]="model resources win32"
  [setup]="link model resources"
  [panel]="setup link model resources win32"
  [app]="panel setup link model resources win32"
)

# Upward includes that other work in progress removes; each goes from this
# list together with the include.
KnownExceptions=()

allowed() {  # folder included-folder
  local f
  [[ "$1" == "$2" ]] && return 0
  for f in ${MayInclude[$1]}; do [[ "$f" == "$2" ]] && return 0; done
  return 1
}

known() {  # file include
  local e
  for e in "${KnownExceptions[@]}"; do [[ "$e" == "$1 $2" ]] && return 0; done
  return 1
}

check() {  # root
  local root=$1 bad=0 folder file line include target
  for folder in "${!MayInclude[@]}"; do
    [[ -d "$root/$folder" ]] || continue
    while IFS= read -r file; do
      while IFS=: read -r line include; do
        # "folder/name.h" or <folder/name.h>; includes without a folder
        # (system headers, generated files) are not ours to check.
        [[ "$include" =~ include[[:space:]]*[\"\<]([^\">]*) ]] || continue
        include=${BASH_REMATCH[1]}
        [[ "$include" == */* ]] || continue
        target=${include%%/*}
        [[ -n "${MayInclude[$target]+set}" ]] || continue
        allowed "$folder" "$target" && continue
        known "${file#"$root"/}" "$include" && continue
        echo "${file#"$root"/}:$line: $folder/ may not include $include (layers go down only)"
        bad=1
      done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' "$file" || true)
    done < <(find "$root/$folder" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' \) | sort)
  done
  return $bad
}

self_test() {
  local tmp
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' RETURN
  mkdir -p "$tmp/link" "$tmp/app" "$tmp/tests"
  printf '#include "link/a.h"\n#include <windows.h>\n' >"$tmp/app/ok.cpp"
  printf '#include "app/ok.h"\n' >"$tmp/tests/ok.cpp"
  check "$tmp" >/dev/null || { echo "self-test: a downward include was refused"; return 1; }
  printf '#include "model/m.h"\n  #include <app/shell_state.h>\n' >"$tmp/link/bad.cpp"
  if check "$tmp" >"$tmp/out"; then
    echo "self-test: an upward include passed"
    return 1
  fi
  grep -q '^link/bad.cpp:2: ' "$tmp/out" || { echo "self-test: wrong report: $(cat "$tmp/out")"; return 1; }
  echo "self-test: passed"
}

if [[ "${1:-}" == "--self-test" ]]; then
  self_test
else
  check "${1:?usage: check_layers.sh ROOT | --self-test}" && echo "layers: every include goes down"
fi
