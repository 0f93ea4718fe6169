#!/usr/bin/env bash
# The resources of a built kwbsetup.exe, decompiled by windres, against what they must be
# (resources.rc beside this script): the dialog templates, icon groups, version record and
# manifest. The icon images and the payload's data are left out.
#     resources.sh WINDRES EXE
set -euo pipefail
windres=$1 exe=$2
decompiled=$(timeout 120 "$windres" -J coff -i "$exe" -O rc)
diff -u "$(dirname "$0")/resources.rc" \
  <(awk '/^\/\* Type: / { type = $3 } type != "icon" && type != "rcdata" && NF' <<<"$decompiled")
