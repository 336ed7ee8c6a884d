#include "Texts.h"

namespace {

constexpr Texts kEnglish{
    .extrapolatedFirstLine = u"Extrapolated: BT − VT lies outside the range of the fits,",
    .extrapolatedSecondLine = u"so B and V may be off by a tenth of a magnitude or more.",
    .faint = u"Faint for Tycho-2 (VT > %1): BT and VT may be off by 0.1 mag or more",
    .colourIndex = u"BT − VT = %1",
    .bessell = u"Bessell (2000): V = %1, B − V = %2",
    .bessellOutside = u"Bessell (2000): no value outside %1 ≤ BT − VT ≤ %2",
    .henden = u"Henden's R and I fits: R = %1, I = %2",
    .fitsRange = u"The B and V fits hold for %1 ≤ BT − VT ≤ %2.",
    .rApproximation = u"R = V − 0.5 (B − V) is a coarse approximation.",
    .relationScatter = u"Uncertainty of the fits alone at this colour: V ± %1, B − V ± %2",
    .textBoxName = u"Clipboard text",
    .resultDescription = u"Result",
    .extrapolatedDescription = u"Result, extrapolated: BT − VT outside the range of the fits",
    .clipboardInUse = u"Clipboard in use by another program",
    .usage = u"Usage: %1 [options]",
    .optionsHeading = u"Options:",
    .commandLineDescription =
        u"Shows the text on the clipboard and the B, V and R magnitudes computed from\n"
        u"the Tycho BT and VT it carries, each time OK is pressed.",
    .helpOption = u"Displays help on commandline options.",
    .versionOption = u"Displays version information.",
    .unknownOption = u"Unknown option '%1'.",
    .unexpectedArgument = u"Unexpected argument '%1'.",
    .needsDisplay =
        u"the window needs a graphical session, and neither DISPLAY nor "
        u"WAYLAND_DISPLAY is set.",
    .needsWindows10 = u"TychoBVR needs Windows 10 or later.",
    .convertUsage =
        u"       %1 --convert [--encoding NAME] [--form FORM] [--max-error MAG] [FILE]...\n"
        u"       %1 --convert --near POSITION [--radius R] [--v MIN:MAX] [--b-v MIN:MAX]\n"
        u"                [--like DV:DBV] [--usable] [--max-error MAG] [--epoch YEAR]\n"
        u"                [--to csv|aij|siril] [--chart FILE.svg] [FILE]...",
    .convertOption =
        u"Converts the stars of the FILEs, or of standard input, into CSV rows on standard "
        u"output; no window opens. Each source is tagged text (a row for each line with BT= "
        u"and VT=), a table with BTmag and VTmag columns (TAB, ';', ',' or '|' between cells, "
        u"'#' comments), or Tycho-2's tyc2.dat, suppl_1.dat or suppl_2.dat, or Hipparcos' "
        u"hip_main.dat; gzip is read as it comes. e_B, e_V, e_R and e_B_V carry e_BT and e_VT "
        u"through the fits; u_B, u_V, u_R and u_B_V add the fits' own scatter. usable and why "
        u"say whether anything rules a star out as a comparison star. A list of known "
        u"variables (Name or GCVS, a position and Type or VarType, as VizieR gives VSX and the "
        u"GCVS) gives no rows: wherever it stands among the FILEs, each star within 10\" of a "
        u"listed variable is called variable, with its name and type in known_variable.",
    .encodingOption =
        u"Reads the input as NAME: utf-8 (the default; UTF-16 with a byte order "
        u"mark is recognised) or shift_jis (code page 932).",
    .formOption =
        u"Reads every FILE as FORM: text, table, tyc2, suppl, hip or variables (a list of "
        u"known variable stars), instead of recognising each from its first lines.",
    .nearOption =
        u"Keeps the stars within the radius of POSITION, nearest first, with their separation "
        u"(sep, arcmin) and position angle (pa). POSITION is RA and Dec in degrees "
        u"(\"83.8221 -5.3911\") or in h m s and d m s (\"05 35 17.3 -05 23 28\", "
        u"\"05:35:17.3 -05:23:28\", \"5h35m17.3s -5d23m28s\").",
    .radiusOption = u"The radius for --near: degrees (1 by default), or 30arcmin, 90arcsec.",
    .vOption = u"With --near, only the stars whose V lies from MIN to MAX; either may be left out.",
    .bMinusVOption = u"With --near, only the stars whose B − V lies from MIN to MAX.",
    .usableOption =
        u"With --near, only the stars that nothing rules out as comparison stars (usable 1).",
    .largestErrorOption =
        u"A V uncertainty above MAG makes a star uncertain, no comparison star (0.05 by "
        u"default).",
    .likeOption =
        u"With --near, only the stars whose V lies within DV of the target's, and B − V within "
        u"DBV of the target's, as the rows show them; the target, the star at POSITION, stays.",
    .toOption =
        u"What standard output holds: csv, the table (the default); with --near, aij, "
        u"AstroImageJ's RA/Dec aperture list, or siril, Siril's comparison-star list: the target "
        u"first, then every usable star.",
    .epochOption =
        u"Moves each position by its proper motion to YEAR, a Julian year (2026.9), for ra, dec, "
        u"sep and pa; stars without a proper motion keep theirs.",
    .chartOption =
        u"With --near, also writes an SVG finder chart of the stars kept to FILE: north up, east "
        u"left, comparison stars labelled with V without its decimal point.",
    .missingValue = u"Missing value after '%1'.",
    .unknownEncoding = u"unknown encoding '%1': use utf-8 or shift_jis.",
    .unknownForm = u"unknown form '%1': use text, table, tyc2, suppl, hip or variables.",
    .invalidBytes = u"%1:%2: bytes that are not valid in the input's encoding; line skipped",
    .invalidCell = u"%1:%2: %3 is not a number: '%4'",
    .outOfRange = u"%1:%2: a value is out of range",
    .lineTooLong = u"%1:%2: the line is longer than a table's or catalogue's can be; skipped",
    .starSummary = u"%1: 1 star, %3 lacking BT or VT",
    .starsSummary = u"%1: %2 stars, %3 lacking BT or VT",
    .nothingFound = u"%1: no BT= and VT= tags, and no table with BTmag and VTmag columns",
    .notGzip = u"%1: the gzip data is damaged or cut short: %2",
    .cannotRead = u"%1: cannot read: %2",
    .cannotWrite = u"cannot write the output: %1",
    .notAPosition =
        u"--near: '%1' is not a position: give RA and Dec in degrees (83.8221 -5.3911) or in "
        u"h m s and d m s (05 35 17.3 -05 23 28)",
    .rightAscensionRange = u"--near: '%1': RA must lie in 0 ≤ RA < 360° (24 h)",
    .declinationRange = u"--near: '%1': Dec must lie within −90° and +90°",
    .sixtyOrMore = u"--near: '%1': minutes and seconds must be below 60",
    .badRadius =
        u"--radius: '%1' is not a radius: give degrees greater than 0 and at most 180, or "
        u"arcmin or arcsec (30arcmin, 90arcsec)",
    .badRange = u"%1: '%2' is not a range MIN:MAX (either may be left out, as in :9)",
    .reversedRange = u"%1: '%2': MIN is greater than MAX",
    .badLargestError = u"--max-error: '%1' is not a magnitude greater than 0",
    .needsNear = u"%1 needs --near",
    .badLike =
        u"--like: '%1' is not DV:DBV, the largest differences in V and in B − V from the "
        u"target's, in magnitudes (0.5:0.2)",
    .unknownOutput = u"--to: unknown output '%1': use csv, aij or siril.",
    .likeWithoutTarget = u"--like: no star lies at %1 to be like: give the position of a star",
    .badEpoch = u"--epoch: '%1' is not a Julian year from 1000 to 3000 (2026.9)",
    .chartTooWide = u"--chart: '%1': a chart shows a radius of at most 30°",
    .cannotWriteChart = u"%1: cannot write the chart: %2",
    .invalidPosition = u"%1:%2: %3 is not a position: '%4'",
    .noPositions = u"%1: no star has a position, so none can lie near %2",
    .nearSummary = u"%1 stars within %2 of %3%6, %4 usable%7, of %5 read%8",
    .nearSummaryOne = u"1 star within %2 of %3%6, %4 usable%7, of %5 read%8",
    .nearRanges = u" and in the V and B − V ranges",
    .nearKnownVariables = u", %1 known variables",
    .nearKnownVariable = u", 1 known variable",
    .nearUnchecked = u"; variability not checked against any list of variables",
    .listSummary = u"%1: a list of %2 known variables",
    .listSummaryOne = u"%1: a list of 1 known variable",
    .noListHeader = u"%1: no header with a star's name, a position and a type of variability",
    .noListPositions = u"%1: no variable in the list has a position",
    .indexUsed = u"%1: the field meets %2 of Tycho-2's %3 regions; only their records are read",
    .indexOnlyNear = u"%1: Tycho-2's index of regions, which only --near reads by",
    .indexUnused = u"%1: not used, and every record is read: %2",
    .indexBadLine = u"line %1 is no line of Tycho-2's index",
    .indexTwice = u"%1 and %2 hold the same records",
    .indexFileSize = u"%1 holds %2 bytes, not the %3 records of %4 bytes that the index counts",
    .indexShort = u"%1 ends before its record %2, which the index counts",
    .indexNotARecord = u"%1 line %2 is no record of Tycho-2",
    .indexOtherRegion = u"%1 line %2 is no star of region %3, where the index puts it",
    .indexOutsideBox = u"%1 line %2 lies outside the bounds of region %3",
    .indexTooLarge = u"the field is too large for the index to spare any reading",
    .pageConvertFile = u"Convert a file to CSV…",
    .pageDropHint = u"or drop a file of stars on the page",
    .pageCancel = u"Cancel",
    .pageNear = u"Near",
    .pageNearHint = u"RA Dec, e.g. 05 35 17.3 -05 23 28",
    .pageRadius = u"radius",
    .pageRadiusHint = u"1°, 30arcmin",
    .pageLike = u"like",
    .pageLikeHint = u"ΔV:Δ(B−V), e.g. 0.5:0.2",
    .pageEpoch = u"epoch",
    .pageEpochHint = u"e.g. 2026.9",
    .pageChartFile = u"Chart (SVG)",
    .pageAijFile = u"AstroImageJ list",
    .pageSirilFile = u"Siril list",
    .pageProgress = u"%1: %2 %",
    .pageDone = u"%1: converted",
    .pageCancelled = u"%1: cancelled",
    .pageFromTextBox =
        u"The text came from the text box, because the browser did not give the clipboard (%1).",
    .convertFiles = u"Convert files to CSV…",
    .filesToConvert = u"Files to convert to CSV",
    .starFiles = u"Stars: text, tables, catalogues, gzip",
    .allFiles = u"All files",
    .saveTable = u"Save the table as",
    .csvFiles = u"CSV tables",
    .converting = u"Converting to CSV",
    .reading = u"Reading %1 (file %2 of %3)",
    .cancel = u"Cancel",
    .ok = u"OK",
    .conversionEnded = u"Conversion to CSV",
    .tableSaved = u"The table is saved as %1.",
    .tableNotSaved = u"The table could not be saved as %1: %2",
    .comparisonStars = u"Comparison stars…",
    .fieldPosition = u"Position",
    .fieldRadius = u"Radius",
    .fieldLike = u"Like",
    .fieldEpoch = u"Epoch",
    .fieldUsableOnly = u"Usable only",
    .catalogueFiles = u"Catalogue files…",
    .removeFiles = u"Remove all",
    .show = u"Show",
    .saveTableButton = u"Save table…",
    .saveChart = u"Save chart…",
    .saveAstroImageJ = u"Save AstroImageJ list…",
    .saveSiril = u"Save Siril list…",
    .close = u"Close",
    .svgCharts = u"SVG charts",
    .astroImageJLists = u"AstroImageJ lists",
    .sirilLists = u"Siril lists",
    .noFiles = u"Choose the catalogue files first.",
    .fileSaved = u"Saved as %1.",
    .fileNotSaved = u"Could not be saved as %1: %2",
};

// Japanese as an astronomer writes it: 等級 for magnitudes, 色指数 for the colour index, 外挿 for
// extrapolation; full-width colons and parentheses, ≦ as Japanese writes ≤, and the numbers and
// formulas as in English.
constexpr Texts kJapanese{
    .extrapolatedFirstLine = u"外挿：BT − VT が変換式の適用範囲外のため、",
    .extrapolatedSecondLine = u"B と V は 0.1 等以上ずれることがあります。",
    .faint = u"暗い星です（VT > %1）：Tycho-2 の BT・VT は 0.1 等以上ずれることがあります",
    .colourIndex = u"色指数 BT − VT = %1",
    .bessell = u"Bessell (2000)：V = %1、B − V = %2",
    .bessellOutside = u"Bessell (2000)：%1 ≦ BT − VT ≦ %2 の範囲外のため値なし",
    .henden = u"Henden の R・I 変換式：R = %1、I = %2",
    .fitsRange = u"B と V の変換式の適用範囲は %1 ≦ BT − VT ≦ %2 です。",
    .rApproximation = u"R = V − 0.5 (B − V) は粗い近似です。",
    .relationScatter = u"この色指数での変換式自体の不確かさ：V ± %1、B − V ± %2",
    .textBoxName = u"クリップボードのテキスト",
    .resultDescription = u"結果",
    .extrapolatedDescription = u"結果（外挿）：BT − VT が変換式の適用範囲外",
    .clipboardInUse = u"クリップボードは他のプログラムが使用中です",
    .usage = u"使い方: %1 [オプション]",
    .optionsHeading = u"オプション:",
    .commandLineDescription =
        u"OK を押すたびに、クリップボードのテキストと、そこに含まれる Tycho の\n"
        u"BT・VT から求めた B・V・R 等級を表示します。",
    .helpOption = u"コマンドラインオプションのヘルプを表示します。",
    .versionOption = u"バージョン情報を表示します。",
    .unknownOption = u"不明なオプション '%1' です。",
    .unexpectedArgument = u"余分な引数 '%1' があります。",
    .needsDisplay =
        u"ウィンドウの表示にはグラフィカルセッションが必要ですが、DISPLAY も "
        u"WAYLAND_DISPLAY も設定されていません。",
    .needsWindows10 = u"TychoBVR には Windows 10 以降が必要です。",
    .convertUsage =
        u"        %1 --convert [--encoding NAME] [--form FORM] [--max-error MAG] [FILE]...\n"
        u"        %1 --convert --near POSITION [--radius R] [--v MIN:MAX] [--b-v MIN:MAX]\n"
        u"                 [--like DV:DBV] [--usable] [--max-error MAG] [--epoch YEAR]\n"
        u"                 [--to csv|aij|siril] [--chart FILE.svg] [FILE]...",
    .convertOption =
        u"FILE（または標準入力）の星を CSV の行に変換して標準出力に書き出します。"
        u"ウィンドウは開きません。入力は BT= と VT= のあるテキスト（1 行に 1 行）、"
        u"BTmag と VTmag の列のある表（区切りは TAB・;・,・|、# はコメント）、"
        u"Tycho-2 の tyc2.dat・suppl_1.dat・suppl_2.dat、Hipparcos の hip_main.dat の"
        u"いずれかで、gzip のままでも読めます。e_B・e_V・e_R・e_B_V は e_BT と e_VT を"
        u"変換式に通した誤差で、u_B・u_V・u_R・u_B_V はそれに変換式自体のばらつきを加えた"
        u"不確かさです。usable と why は比較星に使えるかどうかとその理由を示します。"
        u"既知の変光星のリスト（VizieR の VSX や GCVS のように Name または GCVS、位置、"
        u"Type または VarType の列のある表）は行を出力せず、FILE のどこにあっても、リストの"
        u"変光星から 10\" 以内の星を variable とし、その名前と型を known_variable に示します。",
    .encodingOption =
        u"入力を文字コード NAME で読みます：utf-8（既定。BOM 付きの UTF-16 も認識）"
        u"または shift_jis（コードページ 932）。",
    .formOption =
        u"各 FILE の形式を最初の数行から判断せず、FORM として読みます：text、table、"
        u"tyc2、suppl、hip、variables（既知の変光星のリスト）。",
    .nearOption =
        u"POSITION から半径以内の星だけを近い順に、離角（sep、分角）と位置角（pa）を付けて"
        u"出力します。POSITION は赤経と赤緯を度で（\"83.8221 -5.3911\"）、または時分秒と"
        u"度分秒で（\"05 35 17.3 -05 23 28\"、\"05:35:17.3 -05:23:28\"、"
        u"\"5h35m17.3s -5d23m28s\"）指定します。",
    .radiusOption = u"--near の半径：度（既定は 1）、または 30arcmin、90arcsec。",
    .vOption = u"--near で、V が MIN から MAX の星だけを出力します。どちらかは省略できます。",
    .bMinusVOption = u"--near で、B − V が MIN から MAX の星だけを出力します。",
    .usableOption = u"--near で、比較星として除外する理由のない星（usable が 1）だけを出力します。",
    .largestErrorOption =
        u"V の不確かさが MAG を超える星を uncertain として比較星から外します（既定は 0.05）。",
    .likeOption =
        u"--near で、V が目標の星から DV 以内、B − V が DBV 以内の星だけを出力します（行に示す値で"
        u"比べます）。目標の星（POSITION の星）は残ります。",
    .toOption =
        u"標準出力の内容：csv は表（既定）。--near では aij で AstroImageJ の RA/Dec 開口リスト、"
        u"siril で Siril の比較星リストを、目標の星、比較星に使える星の順に出力します。",
    .epochOption =
        u"各位置を固有運動で YEAR（ユリウス年。2026.9）の位置に動かし、ra・dec・sep・pa "
        u"に使います。"
        u"固有運動のない星は元の位置のままです。",
    .chartOption =
        u"--near で、残した星の SVG の星図を FILE にも書き出します。北が上、東が左で、比較星には"
        u"小数点を除いた V を添えます。",
    .missingValue = u"'%1' の後に値がありません。",
    .unknownEncoding = u"不明な文字コード '%1' です。utf-8 か shift_jis を指定してください。",
    .unknownForm =
        u"不明な形式 '%1' です。text・table・tyc2・suppl・hip・variables のいずれかを指定して"
        u"ください。",
    .invalidBytes = u"%1:%2: 入力の文字コードとして無効なバイトがあるため、この行を飛ばしました",
    .invalidCell = u"%1:%2: %3 が数値ではありません：'%4'",
    .outOfRange = u"%1:%2: 値が範囲外です",
    .lineTooLong = u"%1:%2: 表やカタログの行としては長すぎるため、この行を飛ばしました",
    .starSummary = u"%1: 1 星（うち BT か VT のないもの %3 星）",
    .starsSummary = u"%1: %2 星（うち BT か VT のないもの %3 星）",
    .nothingFound = u"%1: BT= と VT= のタグも、BTmag と VTmag の列のある表も見つかりません",
    .notGzip = u"%1: gzip のデータが壊れているか途中で切れています: %2",
    .cannotRead = u"%1: 読み込めません: %2",
    .cannotWrite = u"出力を書き込めません: %1",
    .notAPosition =
        u"--near: '%1' は位置ではありません。赤経と赤緯を度で（83.8221 -5.3911）、"
        u"または時分秒と度分秒で（05 35 17.3 -05 23 28）指定してください",
    .rightAscensionRange = u"--near: '%1': 赤経は 0 ≦ RA < 360°（24 h）の範囲で指定してください",
    .declinationRange = u"--near: '%1': 赤緯は −90° から +90° の範囲で指定してください",
    .sixtyOrMore = u"--near: '%1': 分と秒は 60 未満で指定してください",
    .badRadius =
        u"--radius: '%1' は半径ではありません。0 より大きく 180 以下の度、または分角・秒角"
        u"（30arcmin、90arcsec）で指定してください",
    .badRange = u"%1: '%2' は範囲 MIN:MAX ではありません（:9 のようにどちらかは省略できます）",
    .reversedRange = u"%1: '%2': MIN が MAX より大きくなっています",
    .badLargestError = u"--max-error: '%1' は 0 より大きい等級ではありません",
    .needsNear = u"%1 には --near が必要です",
    .badLike =
        u"--like: '%1' は DV:DBV（目標の星との V と B − V の差の上限、等。例 0.5:0.2）"
        u"ではありません",
    .unknownOutput = u"--to: 不明な出力 '%1' です。csv・aij・siril のいずれかを指定してください。",
    .likeWithoutTarget =
        u"--like: %1 に星がないため、似た星を選べません。星の位置を指定してください",
    .badEpoch = u"--epoch: '%1' は 1000 から 3000 までのユリウス年（2026.9）ではありません",
    .chartTooWide = u"--chart: '%1': 星図に描ける半径は 30° までです",
    .cannotWriteChart = u"%1: 星図を書き込めません: %2",
    .invalidPosition = u"%1:%2: %3 が位置ではありません：'%4'",
    .noPositions = u"%1: 位置のある星がないため、%2 の近くの星はありません",
    .nearSummary =
        u"%3 から %2 以内%6の星 %1 星、うち比較星に使えるもの %4 星%7（読んだ星 %5 星）%8",
    .nearSummaryOne =
        u"%3 から %2 以内%6の星 1 星、うち比較星に使えるもの %4 星%7（読んだ星 %5 星）%8",
    .nearRanges = u"で V と B − V の範囲内",
    .nearKnownVariables = u"、既知の変光星 %1 星",
    .nearKnownVariable = u"、既知の変光星 1 星",
    .nearUnchecked = u"。変光の有無は変光星のリストと照合していません",
    .listSummary = u"%1: 既知の変光星 %2 星のリスト",
    .listSummaryOne = u"%1: 既知の変光星 1 星のリスト",
    .noListHeader = u"%1: 星名・位置・変光の型の列を示すヘッダーがありません",
    .noListPositions = u"%1: リストの変光星に位置のあるものがありません",
    .indexUsed = u"%1: 視野は Tycho-2 の %3 領域のうち %2 領域にかかります。その記録だけを読みます",
    .indexOnlyNear = u"%1: Tycho-2 の領域の索引です。--near のときだけ使います",
    .indexUnused = u"%1: 使わず、すべての記録を読みます: %2",
    .indexBadLine = u"%1 行目は Tycho-2 の索引の行ではありません",
    .indexTwice = u"%1 と %2 は同じ記録を持っています",
    .indexFileSize = u"%1 は %2 バイトで、索引の数える %4 バイトの記録 %3 件と合いません",
    .indexShort = u"%1 は索引の数える記録 %2 より前で終わっています",
    .indexNotARecord = u"%1 の %2 行目は Tycho-2 の記録ではありません",
    .indexOtherRegion = u"%1 の %2 行目は索引の示す領域 %3 の星ではありません",
    .indexOutsideBox = u"%1 の %2 行目は領域 %3 の範囲の外にあります",
    .indexTooLarge = u"視野が広すぎて、索引を使っても読む量が減りません",
    .pageConvertFile = u"ファイルを CSV に変換…",
    .pageDropHint = u"または星のファイルをこのページにドロップ",
    .pageCancel = u"キャンセル",
    .pageNear = u"中心",
    .pageNearHint = u"赤経 赤緯（例 05 35 17.3 -05 23 28）",
    .pageRadius = u"半径",
    .pageRadiusHint = u"1°、30arcmin",
    .pageLike = u"似た星",
    .pageLikeHint = u"ΔV:Δ(B−V)（例 0.5:0.2）",
    .pageEpoch = u"元期",
    .pageEpochHint = u"例 2026.9",
    .pageChartFile = u"星図（SVG）",
    .pageAijFile = u"AstroImageJ のリスト",
    .pageSirilFile = u"Siril のリスト",
    .pageProgress = u"%1: %2 %",
    .pageDone = u"%1: 変換しました",
    .pageCancelled = u"%1: キャンセルしました",
    .pageFromTextBox =
        u"ブラウザがクリップボードを渡さなかったため（%1）、テキストボックスの内容を使いました。",
    .convertFiles = u"ファイルを CSV に変換…",
    .filesToConvert = u"CSV に変換するファイル",
    .starFiles = u"星のデータ（テキスト、表、カタログ、gzip）",
    .allFiles = u"すべてのファイル",
    .saveTable = u"表の保存先",
    .csvFiles = u"CSV の表",
    .converting = u"CSV に変換中",
    .reading = u"%1 を読み込み中（%3 ファイル中 %2 番目）",
    .cancel = u"キャンセル",
    .ok = u"OK",
    .conversionEnded = u"CSV への変換",
    .tableSaved = u"表を %1 に保存しました。",
    .tableNotSaved = u"表を %1 に保存できませんでした：%2",
    .comparisonStars = u"比較星…",
    .fieldPosition = u"位置",
    .fieldRadius = u"半径",
    .fieldLike = u"似た星",
    .fieldEpoch = u"元期",
    .fieldUsableOnly = u"使える星だけ",
    .catalogueFiles = u"カタログファイル…",
    .removeFiles = u"すべて外す",
    .show = u"表示",
    .saveTableButton = u"表を保存…",
    .saveChart = u"星図を保存…",
    .saveAstroImageJ = u"AstroImageJ のリストを保存…",
    .saveSiril = u"Siril のリストを保存…",
    .close = u"閉じる",
    .svgCharts = u"SVG の星図",
    .astroImageJLists = u"AstroImageJ のリスト",
    .sirilLists = u"Siril のリスト",
    .noFiles = u"先にカタログファイルを選んでください。",
    .fileSaved = u"%1 に保存しました。",
    .fileNotSaved = u"%1 に保存できませんでした：%2",
};

// Each language's catalogue, by the language's two-letter code.
struct Catalogue {
    std::string_view language;
    const Texts* texts;
};
constexpr Catalogue kCatalogues[] = {{"en", &kEnglish}, {"ja", &kJapanese}};

}  // namespace

const Texts& EnglishTexts() { return kEnglish; }

const Texts& TextsFor(std::string_view language) {
    for (const Catalogue& catalogue : kCatalogues) {
        // "ja" matches "ja", "ja-JP" and "ja_JP.UTF-8", but not "jav".
        if (language.substr(0, 2) == catalogue.language &&
            (language.size() == 2 || language[2] == '-' || language[2] == '_' ||
             language[2] == '.')) {
            return *catalogue.texts;
        }
    }
    return kEnglish;
}

std::u16string Substitute(std::u16string_view text,
                          std::initializer_list<std::u16string_view> values) {
    std::u16string result;
    result.reserve(text.size() + 16 * values.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t index =
            i + 1 < text.size() ? std::size_t(text[i + 1] - u'1') : values.size();
        if (text[i] == u'%' && index < values.size()) {
            result += values.begin()[index];
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::u16string Substitute(std::u16string_view text, std::u16string_view first,
                          std::u16string_view second) {
    return Substitute(text, {first, second});
}
