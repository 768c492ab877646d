; What the setup program and its uninstaller say and name, in English. The pages themselves
; speak through the Modern UI's own language file.
LangString ProductName ${LANG_ENGLISH} "Tapwise Crypto"
LangString Publisher ${LANG_ENGLISH} "Zentaro"
LangString RecoveryName ${LANG_ENGLISH} "Tapwise Crypto Recovery"
LangString DashboardName ${LANG_ENGLISH} "Zentaro Dashboard"
LangString Needs64BitWindows ${LANG_ENGLISH} "This setup program installs the 64-bit Tapwise Crypto, which needs 64-bit Windows."
LangString RegistrationFailed ${LANG_ENGLISH} "Tapwise Crypto could not register $R0 (error $R1). The installation is incomplete: run the setup program again, or remove Tapwise Crypto with its uninstaller."
