@echo off
rem Starts TorvanPatch.exe from this folder without asking for administrator
rem approval: RunAsInvoker runs it with this user's standard rights, for
rem players without an administrator's password (see README.txt). setlocal
rem keeps the setting out of a Command Prompt this file is run from.
setlocal
set "__COMPAT_LAYER=RunAsInvoker"
start "" "%~dp0TorvanPatch.exe"
