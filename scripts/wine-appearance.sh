#!/usr/bin/env bash
# Prepares the current Wine prefix for showing the dialog as a user sees it: an installed CJK font
# stands in for the Chinese dialog faces, so the Chinese texts render legibly. Meant to run inside
# with-wine-env.sh (which also has Wine draw the title bars itself); called from outside the Wine
# root, it goes through with-wine-env.sh.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
[ -e /etc/torvan-wine-root ] || exec "$here/with-wine-env.sh" "$here/wine-appearance.sh" "$@"
cjk=${TORVAN_CJK_FONT:-WenQuanYi Micro Hei}
fonts='HKCU\Software\Wine\Fonts\Replacements'
for face in SimSun 宋体 MingLiU 細明體 PMingLiU 新細明體; do
    wine reg add "$fonts" /v "$face" /t REG_SZ /d "$cjk" /f >/dev/null
done
