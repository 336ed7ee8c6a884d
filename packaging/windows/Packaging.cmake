# The Windows installer and the portable zip: tychobvr.exe, the licence and a short README.
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt.in ${PROJECT_BINARY_DIR}/packaging/README.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/packaging/README.txt
        DESTINATION .)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME TychoBVR)
set(CPACK_PACKAGE_VENDOR "The TychoBVR developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "B, V and R magnitudes from a star's Tycho BT and VT")
set(CPACK_PACKAGE_INSTALL_DIRECTORY TychoBVR)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY TychoBVR)
set(CPACK_PACKAGE_FILE_NAME tychobvr-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_EXECUTABLES tychobvr TychoBVR)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# The installer's own name, and the zip without a folder around its files.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackOptions.cmake)

set(CPACK_NSIS_PACKAGE_NAME TychoBVR)
set(CPACK_NSIS_DISPLAY_NAME TychoBVR)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/packaging/tychobvr.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/packaging/tychobvr.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME tychobvr.exe)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# A 64-bit Unicode installer: a 64-bit Wine, like a Windows without its 32-bit layer, runs only
# that.
set(CPACK_NSIS_DEFINES "Target amd64-unicode\n  !include FileFunc.nsh\n  !include LogicLib.nsh")
# The window needs Windows 10: an older Windows is told so, in Japanese "TychoBVR には Windows 10
# 以降が必要です。" where the installer speaks Japanese, and the installer ends with status 1,
# without waiting for a click when silent. Nothing is left: the folder that the section has
# just made is removed again.
set(CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS [[
  GetWinVer $0 Major
  ${If} $0 < 10
    ${If} $LANGUAGE == 1041
      MessageBox MB_OK|MB_ICONSTOP "TychoBVR ${U+306B}${U+306F} Windows 10 ${U+4EE5}${U+964D}${U+304C}${U+5FC5}${U+8981}${U+3067}${U+3059}${U+3002}" /SD IDOK
    ${Else}
      MessageBox MB_OK|MB_ICONSTOP "TychoBVR needs Windows 10 or later." /SD IDOK
    ${EndIf}
    SetOutPath "$TEMP"
    RMDir "$INSTDIR"
    SetErrorLevel 1
    Quit
  ${EndIf}]])
# Apps & features shows the size of what was installed.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS [[
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\TychoBVR" "EstimatedSize" "$0"]])
include(CPack)
