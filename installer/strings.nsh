; The installer's and the uninstaller's own texts, in English and Japanese.
; UTF-8; makensis reads it with -INPUTCHARSET UTF8.

LangString NameProgram ${LANG_ENGLISH} "Brontel"
LangString NameProgram ${LANG_JAPANESE} "Brontel"
LangString DescProgram ${LANG_ENGLISH} "The TV program, the iEPG reservation handler, the board API manager, the MPEG and deinterlacing filters, the language files, the channel tables and the skin."
LangString DescProgram ${LANG_JAPANESE} "テレビ プログラム、iEPG 予約ハンドラ、ボード API マネージャ、MPEG およびデインターレース フィルタ、言語ファイル、チャンネル テーブルとスキン。"

LangString NameStandIns ${LANG_ENGLISH} "Virtual board and stand-in components"
LangString NameStandIns ${LANG_JAPANESE} "仮想ボードと代替コンポーネント"
LangString DescStandIns ${LANG_ENGLISH} "A virtual capture board, an MPEG encoder and the other outside components Brontel needs, for a PC without the board. Leave this out when the board's own driver package is installed."
LangString DescStandIns ${LANG_JAPANESE} "ボードのない PC 用の仮想キャプチャ ボード、MPEG エンコーダなど、Brontel が必要とする外部コンポーネントです。ボードのドライバ パッケージをインストール済みの場合は選択を外してください。"

LangString NameUnProgram ${LANG_ENGLISH} "Brontel"
LangString NameUnProgram ${LANG_JAPANESE} "Brontel"
LangString DescUnProgram ${LANG_ENGLISH} "Removes the programs, their registration and the iEPG file type. Your recordings and snapshots are kept."
LangString DescUnProgram ${LANG_JAPANESE} "プログラム、その登録と iEPG ファイルの関連付けを削除します。録画ファイルと静止画は残ります。"
LangString NameUnSettings ${LANG_ENGLISH} "Also remove my settings (channels, schedule, preferences)"
LangString NameUnSettings ${LANG_JAPANESE} "設定 (チャンネル、予約、各種設定) も削除する"
LangString DescUnSettings ${LANG_ENGLISH} "Tick this to remove your channel list, your recording schedule and all other settings of Brontel as well."
LangString DescUnSettings ${LANG_JAPANESE} "チャンネル リスト、録画予約、その他すべての Brontel の設定も削除する場合はチェックしてください。"

LangString IepgFileTypeName ${LANG_ENGLISH} "iEPG reservation file"
LangString IepgFileTypeName ${LANG_JAPANESE} "iEPG 予約ファイル"
LangString UninstallShortcut ${LANG_ENGLISH} "Uninstall Brontel"
LangString UninstallShortcut ${LANG_JAPANESE} "Brontel のアンインストール"
; The program's own language switch, so that it speaks the installer's
; language (1000 selects English, 1160 Japanese).
LangString ProgramLanguageSwitch ${LANG_ENGLISH} "l:1000"
LangString ProgramLanguageSwitch ${LANG_JAPANESE} "l:1160"

LangString Registering ${LANG_ENGLISH} "Registering"
LangString Registering ${LANG_JAPANESE} "登録中"
LangString Unregistering ${LANG_ENGLISH} "Unregistering"
LangString Unregistering ${LANG_JAPANESE} "登録解除中"
LangString RegisterFailed ${LANG_ENGLISH} "$RegisterFailedName could not be registered (regsvr32 ended with code $RegisterFailedCode).$\r$\n$\r$\nSetup has removed what it installed; Brontel is not installed."
LangString RegisterFailed ${LANG_JAPANESE} "$RegisterFailedName を登録できませんでした (regsvr32 の終了コード $RegisterFailedCode)。$\r$\n$\r$\nインストールした内容は元に戻しました。Brontel はインストールされていません。"
LangString RegisterFailedShort ${LANG_ENGLISH} "Registration of $RegisterFailedName failed; the installation has been undone."
LangString RegisterFailedShort ${LANG_JAPANESE} "$RegisterFailedName の登録に失敗したため、インストールを元に戻しました。"
LangString ProgramRunning ${LANG_ENGLISH} "Brontel is running. Close it, then choose Retry."
LangString ProgramRunning ${LANG_JAPANESE} "Brontel が実行中です。Brontel を終了してから [再試行] を選んでください。"
LangString ProgramRunningShort ${LANG_ENGLISH} "Brontel is running; nothing has been changed."
LangString ProgramRunningShort ${LANG_JAPANESE} "Brontel が実行中のため、何も変更していません。"
