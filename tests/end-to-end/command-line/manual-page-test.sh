#!/bin/sh
# Every option --help lists is in the manual page's synopsis and described
# under OPTIONS, and the page names no option the program lacks.
# Usage: manual-page-test.sh CONTROLLER MANUAL_PAGE
controller=$1
page=$2
failed=0
options=$(QT_QPA_PLATFORM=offscreen "$controller" --help | grep -oE -- '--[a-z][a-z-]+' | sort -u)
[ -n "$options" ] || { echo "FAILED: --help lists no options"; exit 1; }
# In the page a dash is written \-; the synopsis ends where DESCRIPTION begins.
text=$(sed 's/\\-/-/g' "$page")
synopsis=$(printf '%s\n' "$text" | sed -n '/^\.SH SYNOPSIS/,/^\.SH DESCRIPTION/p')
described=$(printf '%s\n' "$text" | sed -n '/^\.SH OPTIONS/,/^\.SH ENVIRONMENT/p')
for option in $options; do
    case $option in --help | --version) ;; *)
        printf '%s\n' "$synopsis" | grep -q -- "$option\b" || { echo "FAILED: $option is not in the synopsis"; failed=1; } ;;
    esac
    printf '%s\n' "$described" | grep -qE -- "^\.B[IR]? .*$option\b" || { echo "FAILED: $option is not described"; failed=1; }
done
for named in $(printf '%s\n' "$text" | grep -oE -- '--[a-z][a-z-]+' | sort -u); do
    printf '%s\n' "$options" | grep -qx -- "$named" || { echo "FAILED: the page names $named, which --help does not"; failed=1; }
done
exit $failed
