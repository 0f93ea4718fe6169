#!/usr/bin/env bash
# The resources of a built kwbsetup.exe, decompiled by windres, against what they must be
# (resources.rc beside this script): the dialog templates, icon groups, version record and
# manifest. The icon images and the payload's data are left out.
#     resources.sh WINDRES EXE
set -euo pipefail
decompiled=$(timeout 120 "$1" -J coff -i "$2" -O rc)
diff -u "$(dirname "$0")/resources.rc" \
  <(awk '/^\/\* Type: / { type = $3 } type != "icon" && type != "rcdata" && NF' <<<"$decompiled")
