// The texts the program writes beyond its title, captions and result line, for one language.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// One language's texts. "%1" and "%2" stand for what is put in when the text is used.
struct Texts {
    // The result line's tooltip, a line each.
    std::u16string_view extrapolatedFirstLine;
    std::u16string_view extrapolatedSecondLine;
    std::u16string_view faint;            // %1: the faintest VT that is not suspect
    std::u16string_view colourIndex;      // %1: BT − VT
    std::u16string_view bessell;          // %1: V, %2: B − V
    std::u16string_view bessellOutside;   // %1 and %2: the ends of Bessell's table
    std::u16string_view henden;           // %1: R, %2: I
    std::u16string_view fitsRange;        // %1 and %2: the ends of the fits' range
    std::u16string_view rApproximation;   // what R rests on
    std::u16string_view relationScatter;  // %1: V's, %2: B − V's, for the colour alone

    // What a screen reader says of the controls.
    std::u16string_view textBoxName;
    std::u16string_view resultDescription;
    std::u16string_view extrapolatedDescription;

    std::u16string_view clipboardInUse;

    // The command line.
    std::u16string_view usage;  // %1: the program's name
    std::u16string_view optionsHeading;
    std::u16string_view commandLineDescription;
    std::u16string_view helpOption;
    std::u16string_view versionOption;
    std::u16string_view unknownOption;       // %1: the option
    std::u16string_view unexpectedArgument;  // %1: the argument
    std::u16string_view needsDisplay;
    std::u16string_view needsWindows10;

    // The converter.
    std::u16string_view convertUsage;  // %1: the program's name
    std::u16string_view convertOption;
    std::u16string_view encodingOption;
    std::u16string_view formOption;
    std::u16string_view nearOption;
    std::u16string_view radiusOption;
    std::u16string_view vOption;
    std::u16string_view bMinusVOption;
    std::u16string_view usableOption;
    std::u16string_view largestErrorOption;
    std::u16string_view likeOption;
    std::u16string_view toOption;
    std::u16string_view epochOption;
    std::u16string_view chartOption;
    std::u16string_view missingValue;     // %1: the option
    std::u16string_view unknownEncoding;  // %1: the name
    std::u16string_view unknownForm;      // %1: the name
    std::u16string_view invalidBytes;     // %1: the source, %2: the line
    std::u16string_view invalidCell;   // %1: the source, %2: the line, %3: the column, %4: the cell
    std::u16string_view outOfRange;    // %1: the source, %2: the line
    std::u16string_view lineTooLong;   // %1: the source, %2: the line
    std::u16string_view starSummary;   // the same for one star
    std::u16string_view starsSummary;  // %1: the source, %2: stars, %3: stars lacking BT or VT
    std::u16string_view nothingFound;  // %1: the source
    std::u16string_view notGzip;       // %1: the source, %2: zlib's reason
    std::u16string_view cannotRead;    // %1: the source, %2: the system's reason
    std::u16string_view cannotWrite;
    // Comparison stars around a position. %1: what the user typed, unless said otherwise.
    std::u16string_view notAPosition;
    std::u16string_view rightAscensionRange;
    std::u16string_view declinationRange;
    std::u16string_view sixtyOrMore;
    std::u16string_view badRadius;
    std::u16string_view badRange;       // %1: the option, %2: what the user typed
    std::u16string_view reversedRange;  // %1: the option, %2: what the user typed
    std::u16string_view badLargestError;
    std::u16string_view needsNear;          // %1: the option
    std::u16string_view badLike;            // %1: what the user typed
    std::u16string_view unknownOutput;      // %1: the name
    std::u16string_view likeWithoutTarget;  // %1: the position
    std::u16string_view badEpoch;           // %1: what the user typed
    std::u16string_view chartTooWide;       // %1: the chart's file
    std::u16string_view cannotWriteChart;   // %1: the chart's file, %2: the system's reason
    std::u16string_view
        invalidPosition;              // %1: the source, %2: the line, %3: the column, %4: the cell
    std::u16string_view noPositions;  // %1: the source, %2: the position
    // %1: the stars within, %2: the radius, %3: the position, %4: the usable ones, %5: the stars
    // read, %6: nearRanges where --v or --b-v was given, %7: nearKnownVariables, %8: nearUnchecked
    std::u16string_view nearSummary;
    std::u16string_view nearSummaryOne;  // the same for one star within
    std::u16string_view nearRanges;
    // %7 of the summary where lists of variables were given, %1: the known variables within.
    std::u16string_view nearKnownVariables;
    std::u16string_view nearKnownVariable;  // the same for one
    std::u16string_view nearUnchecked;      // %8 of the summary where none were
    // Lists of known variables. %1: the source.
    std::u16string_view listSummary;     // %2: the variables listed
    std::u16string_view listSummaryOne;  // the same for one
    std::u16string_view noListHeader;
    std::u16string_view noListPositions;
    // Tycho-2's index of regions. %1: the index's file.
    std::u16string_view indexUsed;      // %2: the regions the field meets, %3: all regions
    std::u16string_view indexOnlyNear;  // given without --near
    std::u16string_view indexUnused;    // %2: why, one of those below
    std::u16string_view indexBadLine;   // %1: the line
    std::u16string_view indexTwice;     // %1, %2: the two sources
    // %1: the file, %2: its bytes, %3: the records the index counts, %4: the bytes of one
    std::u16string_view indexFileSize;
    std::u16string_view indexShort;  // %1: the file, %2: the record
    // %1: the file, %2: the line, %3: the region the index puts it in
    std::u16string_view indexNotARecord;
    std::u16string_view indexOtherRegion;
    std::u16string_view indexOutsideBox;
    std::u16string_view indexTooLarge;

    // The page.
    std::u16string_view pageConvertFile;  // the control that converts a file
    std::u16string_view pageDropHint;     // where a file may be dropped
    std::u16string_view pageCancel;
    std::u16string_view pageNear;      // the field of the position that picks stars around it
    std::u16string_view pageNearHint;  // what goes in it
    std::u16string_view pageRadius;
    std::u16string_view pageRadiusHint;
    std::u16string_view pageLike;  // the field of --like
    std::u16string_view pageLikeHint;
    std::u16string_view pageEpoch;  // the field of --epoch
    std::u16string_view pageEpochHint;
    std::u16string_view pageChartFile;  // the links to the chart and the lists
    std::u16string_view pageAijFile;
    std::u16string_view pageSirilFile;
    std::u16string_view pageProgress;     // %1: the file, %2: how far, in per cent
    std::u16string_view pageDone;         // %1: the file
    std::u16string_view pageCancelled;    // %1: the file
    std::u16string_view pageFromTextBox;  // %1: why the browser did not give the clipboard

    // The windows' conversion of files.
    std::u16string_view convertFiles;    // the command, in a menu
    std::u16string_view filesToConvert;  // the open dialog's title
    std::u16string_view starFiles;       // the filter of the forms that --convert reads
    std::u16string_view allFiles;
    std::u16string_view saveTable;  // the save dialog's title
    std::u16string_view csvFiles;
    std::u16string_view converting;  // the progress dialog's title
    std::u16string_view reading;     // %1: the file, %2: its number, %3: how many files
    std::u16string_view cancel;
    std::u16string_view ok;
    std::u16string_view conversionEnded;  // the messages' title
    std::u16string_view tableSaved;       // %1: the table's file
    std::u16string_view tableNotSaved;    // %1: the table's file, %2: the system's reason

    // The windows' comparison stars: the command, the dialog's fields and buttons, and the saving.
    std::u16string_view comparisonStars;  // the command, in a menu, and the dialog's title
    std::u16string_view fieldPosition;
    std::u16string_view fieldRadius;
    std::u16string_view fieldLike;
    std::u16string_view fieldEpoch;
    std::u16string_view fieldUsableOnly;
    std::u16string_view catalogueFiles;  // the button that picks them
    std::u16string_view removeFiles;     // the button that empties their list
    std::u16string_view show;
    std::u16string_view saveTableButton;
    std::u16string_view saveChart;
    std::u16string_view saveAstroImageJ;
    std::u16string_view saveSiril;
    std::u16string_view close;
    std::u16string_view svgCharts;  // the save dialogs' filters
    std::u16string_view astroImageJLists;
    std::u16string_view sirilLists;
    std::u16string_view noFiles;       // what Show says without catalogue files
    std::u16string_view fileSaved;     // %1: the file
    std::u16string_view fileNotSaved;  // %1: the file, %2: the system's reason
};

const Texts& EnglishTexts();

// The texts for a language named as the system names it ("ja", "ja-JP", "ja_JP.UTF-8"):
// Japanese for Japanese, English for every other language.
const Texts& TextsFor(std::string_view language);

// The text with "%1" replaced by the first value, "%2" by the second, and so on up to "%9".
std::u16string Substitute(std::u16string_view text,
                          std::initializer_list<std::u16string_view> values);
std::u16string Substitute(std::u16string_view text, std::u16string_view first,
                          std::u16string_view second = {});
