// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

// The steps of the conversion run and of the two procedures it calls that
// report their own failures. An error report prints a step's value, so the
// values never change; several names share a value where one reported step
// is done in several places.
namespace engine {

// "Start Converting" / "Stop".
enum class RunStep {
    CheckIdle = 100,
    ShowRunning = 102,
    ClearStopRequest = 104,
    ClearResults = 106,
    ShowHourglass = 108,
    ResetGeneratedCount = 110,
    CheckMnemonic = 112,

    // Mnemonic conversion.
    ReadNumberCount = 114,
    ReadNumber = 116,
    ShowNumberProgress = 118,
    YieldBeforeNumber = 120,
    ShowHourglassAgain = 122,
    NormaliseNumber = 124,
    ClearChoices = 126,
    ClearStarts = 128,
    ClearReadings = 130,
    AppendChoices = 134,
    AppendStart = 138,
    CheckTwoPositions = 144,
    ClearCurrentReading = 146,
    YieldBeforeReadings = 148,
    // The enumeration of the readings: the fast search starts, steps to each
    // reading and shows its final count under this one step.
    EnumerateReadings = 150,
    StartSearch = EnumerateReadings,
    NextReading = EnumerateReadings,
    ShowFinalCount = EnumerateReadings,
    YieldBeforeCut = 154,
    ClearCuts = 156,
    CutReading = 158,
    YieldAfterCut = 160,
    CheckNotNumeric = 164,
    CheckFiveLetters = 166,
    MakeLine = 168,
    CheckLineKept = 170,
    CheckAppendOriginal = 172,
    AppendOriginal = 174,
    AppendLine = 176,
    CheckStopAfterCut = 182,
    DropCuts = 186,
    CheckStopAfterReading = 188,
    CheckStopAfterNumber = 192,

    // Spelled-out conversion.
    CheckSpelledOut = 196,
    ReadSpelledCount = 218,
    ShowSpelledProgress = 220,
    YieldBeforeSpelled = 222,
    ReadSpelledNumber = 224,
    ClearSpelledLine = 226,
    CheckDigit = 230,
    AppendDigitWord = 232,
    AppendCharacter = 234,
    CheckSpelledOriginal = 238,
    AppendSpelledOriginal = 240,
    AppendSpelledLine = 242,
    CheckStopAfterSpelled = 248,

    // Ending.
    ShowDefaultPointer = 252,
    ResetProgressValue = 254,
    ResetProgressText = 256,
    ShowIdle = 258,
    RequestStop = 260,
};

// The straightforward enumeration of the readings.
enum class EnumerationStep {
    CheckPosition = 100,
    CountStep = 102,
    AppendChoice = 106,
    DescendPosition = 108,
    // A number too long for 16-bit positions fails where the walk descends.
    NumberTooLong = DescendPosition,
    CheckNotFirst = 112,
    DropChoice = 114,
    StoreReading = 118,
    DropLastChoice = 120,
};

enum class LetterCountStep {
    CountLetters = 110,
};

} // namespace engine
