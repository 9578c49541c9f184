#!/usr/bin/env bash
# Tells the current Wine prefix which installed font stands for the Chinese dialog faces, so the
# Chinese texts render legibly. Run inside with-wine-env.sh.
set -euo pipefail
cjk=${TORVAN_CJK_FONT:-WenQuanYi Micro Hei}
key='HKCU\Software\Wine\Fonts\Replacements'
for face in SimSun 宋体 MingLiU 細明體 PMingLiU 新細明體; do
    /usr/lib/wine/wine64 reg add "$key" /v "$face" /t REG_SZ /d "$cjk" /f >/dev/null
done
