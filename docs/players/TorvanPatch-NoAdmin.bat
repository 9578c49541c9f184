@echo off
rem Starts TorvanPatch.exe from this folder without asking for administrator
rem approval: RunAsInvoker runs it with this user's standard rights, for
rem players without an administrator's password (see README.txt). setlocal
rem keeps the setting out of a Command Prompt this file is run from.
setlocal
rem Started from inside the zip, this file finds nothing of the zip beside
rem it: say what to do and start nothing, rather than fail without a word.
if not exist "%~dp0TorvanPatch.exe" goto notextracted
set "__COMPAT_LAYER=RunAsInvoker"
start "" "%~dp0TorvanPatch.exe"
goto :eof
:notextracted
echo TorvanPatch.exe is not in this folder: %~dp0
echo Extract the whole zip into a folder of its own first, then run
echo TorvanPatch-NoAdmin.bat from that folder. See README.txt in the zip.
pause
