; The kit's additions to CPack's NSIS script. SHCTX is the machine's part of
; the registry when the installer runs for all users (the template's choice
; for an administrator) and the user's otherwise.

; The .map file type, opened by the editor.
!define KXC2_PROGID "KxC2Map.map"

!macro KXC2_INSTALL_FILE_TYPE
  WriteRegStr SHCTX "Software\Classes\.map" "" "${KXC2_PROGID}"
  WriteRegStr SHCTX "Software\Classes\${KXC2_PROGID}" "" "KxC2 map"
  WriteRegStr SHCTX "Software\Classes\${KXC2_PROGID}\DefaultIcon" "" "$INSTDIR\KxC2Map.exe,0"
  WriteRegStr SHCTX "Software\Classes\${KXC2_PROGID}\shell\open\command" "" '"$INSTDIR\KxC2Map.exe" "%1"'
  ; SHCNE_ASSOCCHANGED: Explorer shows the new icon without a restart.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
!macroend

!macro KXC2_REMOVE_FILE_TYPE
  ; Another program may have taken .map over since: then it stays its.
  ReadRegStr $0 SHCTX "Software\Classes\.map" ""
  StrCmp $0 "${KXC2_PROGID}" 0 +2
  DeleteRegValue SHCTX "Software\Classes\.map" ""
  DeleteRegKey /ifempty SHCTX "Software\Classes\.map"
  DeleteRegKey SHCTX "Software\Classes\${KXC2_PROGID}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
!macroend

; The template removes the kit's key under the publisher's but leaves the
; publisher's own, empty, behind.
Function un.onUninstSuccess
  DeleteRegKey /ifempty SHCTX "Software\${KXC2_PUBLISHER}"
FunctionEnd
