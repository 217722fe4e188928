; The Quillbox installer for Windows. Built by scripts/build-windows.sh:
;   makensis -DARCH=x86_64|i686 -DVERSION=1.0.0 -DBINDIR=<folder of the .exe files>
;            -DDATADIR=<data/windows> -DOUTFILE=<installer> quillbox.nsi
Unicode true
SetCompressor /SOLID lzma

!ifndef ARCH | VERSION | BINDIR | DATADIR | OUTFILE
  !error "ARCH, VERSION, BINDIR, DATADIR and OUTFILE must be defined"
!endif

!define APP "Quillbox"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillbox"
!define FILE_TYPE "Quillbox.EncryptedFile"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
!if "${ARCH}" == "x86_64"
  InstallDir "$PROGRAMFILES64\${APP}"
!else
  InstallDir "$PROGRAMFILES\${APP}"
!endif
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
!if /FileExists "${DATADIR}\quillbox.ico"
  Icon "${DATADIR}\quillbox.ico"
  UninstallIcon "${DATADIR}\quillbox.ico"
!endif

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "FileDescription" "${APP} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${APP}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!macro Views
  !if "${ARCH}" == "x86_64"
    SetRegView 64
  !endif
!macroend

Section "Quillbox"
  !insertmacro Views
  SetOutPath "$INSTDIR"
  File "${BINDIR}\quillbox-cli.exe"
  ; The window program, the file association and the Explorer entries come
  ; with quillbox.exe.
  !if /FileExists "${BINDIR}\quillbox.exe"
    File "${BINDIR}\quillbox.exe"
    CreateDirectory "$SMPROGRAMS\${APP}"
    CreateShortcut "$SMPROGRAMS\${APP}\${APP}.lnk" "$INSTDIR\quillbox.exe"
    CreateShortcut "$SMPROGRAMS\${APP}\Uninstall ${APP}.lnk" "$INSTDIR\uninstall.exe"

    ; Encrypted files open in Quillbox, which decrypts them.
    WriteRegStr HKLM "Software\Classes\.enc" "" "${FILE_TYPE}"
    WriteRegStr HKLM "Software\Classes\${FILE_TYPE}" "" "Quillbox encrypted file"
    WriteRegStr HKLM "Software\Classes\${FILE_TYPE}\DefaultIcon" "" "$INSTDIR\quillbox.exe,0"
    WriteRegStr HKLM "Software\Classes\${FILE_TYPE}\shell" "" "QuillboxDecrypt"
    WriteRegStr HKLM "Software\Classes\${FILE_TYPE}\shell\QuillboxDecrypt" "" \
      "Decrypt with Quillbox"
    WriteRegStr HKLM "Software\Classes\${FILE_TYPE}\shell\QuillboxDecrypt\command" "" \
      '"$INSTDIR\quillbox.exe" --decrypt "%1"'
    ; Any file can be encrypted from Explorer.
    WriteRegStr HKLM "Software\Classes\*\shell\QuillboxEncrypt" "" "Encrypt with Quillbox"
    WriteRegStr HKLM "Software\Classes\*\shell\QuillboxEncrypt" "Icon" "$INSTDIR\quillbox.exe,0"
    WriteRegStr HKLM "Software\Classes\*\shell\QuillboxEncrypt\command" "" \
      '"$INSTDIR\quillbox.exe" --encrypt "%1"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillbox.exe,0"
  !else
    CreateDirectory "$SMPROGRAMS\${APP}"
    CreateShortcut "$SMPROGRAMS\${APP}\Uninstall ${APP}.lnk" "$INSTDIR\uninstall.exe"
  !endif

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${APP}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; Explorer picks up the new association.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  !insertmacro Views
  Delete "$INSTDIR\quillbox.exe"
  Delete "$INSTDIR\quillbox-cli.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APP}\${APP}.lnk"
  Delete "$SMPROGRAMS\${APP}\Uninstall ${APP}.lnk"
  RMDir "$SMPROGRAMS\${APP}"
  ; The association only if it is still ours.
  ReadRegStr $0 HKLM "Software\Classes\.enc" ""
  StrCmp $0 "${FILE_TYPE}" 0 +2
    DeleteRegKey HKLM "Software\Classes\.enc"
  DeleteRegKey HKLM "Software\Classes\${FILE_TYPE}"
  DeleteRegKey HKLM "Software\Classes\*\shell\QuillboxEncrypt"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
