@echo off
rem Runs the demo script through the test host on the demo installation of this kit.
rem Arguments go to the host before the script, for example: run-demo.cmd --trace 2
setlocal
set "kit=%~dp0"
set "notes=%kit%demo\notes"
set "current="
for /f "tokens=2,*" %%a in ('reg query "HKCU\SOFTWARE\IBM\NOTES\INSTALLER" /v PROGDIR 2^>nul ^| find "PROGDIR"') do set "current=%%b"
if defined current if /i not "%current%"=="%notes%" (
  echo run-demo: this machine has Notes at %current%; the test kit does not run here.
  exit /b 1
)
if not exist "%kit%bin\KorvoLotusC.dll" (
  echo run-demo: copy bin\KorvoLotusC.dll from the KorvoLotusC ZIP into %kit%bin first.
  exit /b 1
)
reg add "HKCU\Software\Vendra Systems, Inc.\MeetingIntegration" /v NotesIniPath /t REG_SZ /d "%notes%\notes.ini" /f >nul
reg add "HKCU\SOFTWARE\IBM\NOTES\INSTALLER" /v PROGDIR /t REG_SZ /d "%notes%" /f >nul
"%kit%bin\korvocOIEx.exe" %* --script "%kit%demo\demo.script"
