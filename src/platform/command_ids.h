#pragma once
// Command and notification ids shared by the windows.
namespace tyld::cmd {

// Notifications
inline constexpr int kResize = 130;             // サイズ変更処理
inline constexpr int kTitle = 131;              // タイトル表示
inline constexpr int kArrange = 132;            // 元ウインドウ配置、２分割画面
inline constexpr int kRepaint = 133;            // 再描画
inline constexpr int kOpenRecent = 134;         // 最近使ったファイルを読み出し指令
inline constexpr int kRebuildDefault = 211;     // デフォルト状態で再描画
inline constexpr int kRebuildDone = 212;        // デフォルト条件での再描画終了通知
inline constexpr int kRebuildFromForm = 213;    // 印刷フォーム設定ダイアログから再描画呼び出し
inline constexpr int kDataLoaded = 214;         // DF読込み完了
inline constexpr int kPrinterSetup = 235;       // プリンタ設定
inline constexpr int kByteMentClosed = 280;
inline constexpr int kByteDataChanged = 281;
inline constexpr int kSetOrientationAsc = 318;
inline constexpr int kOrientationSet = 319;
inline constexpr int kSetOrientationBin = 320;
inline constexpr int kGroupSearch = 329;
inline constexpr int kGroupSearchClosed = 330;
inline constexpr int kJumpToPosition = 349;
inline constexpr int kHexPosCalClosed = 350;

// Timers
inline constexpr int kTimerAscPrint = 210;
inline constexpr int kTimerBinPrint = 216;
inline constexpr int kTimerFlick = 321;

// Menu commands
inline constexpr int kScaleOriginal = 136;
inline constexpr int kScaleDouble = 137;
inline constexpr int kNextPage = 138;
inline constexpr int kPrevPage = 139;
inline constexpr int kFirstPage = 140;
inline constexpr int kLastPage = 141;
inline constexpr int kNext10 = 142;
inline constexpr int kPrev10 = 143;
inline constexpr int kNext50 = 144;
inline constexpr int kPrev50 = 145;
inline constexpr int kPageJump = 146;
inline constexpr int kFont = 147;
inline constexpr int kPageFormat = 166;
inline constexpr int kPageFormatReset = 189;
inline constexpr int kFontReset = 190;
inline constexpr int kSwInfo = 242;
inline constexpr int kByteSearch = 243;
inline constexpr int kByteSearchCancel = 244;
inline constexpr int kByteMent = 276;
inline constexpr int kGroupByteSearch = 286;
inline constexpr int kStringSearch = 297;
inline constexpr int kStringSearchCancel = 306;
inline constexpr int kOrientationGuide = 323;
inline constexpr int kOpenGeneral = 324;
inline constexpr int kDfTypeGuide = 325;
inline constexpr int kUtf8On = 332;
inline constexpr int kUtf8Off = 333;
inline constexpr int kProperties = 335;
inline constexpr int kEmlDecoded = 336;
inline constexpr int kEmlRaw = 337;
inline constexpr int kPageTurnGuide = 341;
inline constexpr int kHexPosCal = 342;
inline constexpr int kScaleHalf = 32773;
inline constexpr int kOpenPrintFile = 32774;
inline constexpr int kSettingsReset = 32790;
inline constexpr int kDefaultWindowSize = 32791;
inline constexpr int kPrintMono = 32792;
inline constexpr int kPrintColour = 32793;
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kSave = 57603;
inline constexpr int kSaveAs = 57604;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kPrint = 57607;
inline constexpr int kRecent1 = 57616;
inline constexpr int kPaste = 57637;
inline constexpr int kClose = 57665;

}  // namespace tyld::cmd
