#!/usr/bin/env bash
# Prepares the current Wine prefix for showing the dialog as a user sees it: an installed CJK font
# stands in for the Chinese dialog faces, so the Chinese texts render legibly. Meant to run inside
# with-wine-env.sh (which also has Wine draw the title bars itself), where it goes when called
# from outside.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
enter_wine_env "$@"
cjk=${TORVAN_CJK_FONT:-WenQuanYi Micro Hei}
fonts='HKCU\Software\Wine\Fonts\Replacements'
for face in SimSun 宋体 MingLiU 細明體 PMingLiU 新細明體; do
    wine reg add "$fonts" /v "$face" /t REG_SZ /d "$cjk" /f >/dev/null
done
