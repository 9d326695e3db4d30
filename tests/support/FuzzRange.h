// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>

// Which mutants a fuzz test runs: DIGITOME_FUZZ_MUTANTS of them (default
// `defaultMutants`), starting at number DIGITOME_FUZZ_FIRST (0), mutant i made
// with random seed DIGITOME_FUZZ_SEED + i, so that a failing mutant can be
// run again alone.
struct FuzzRange
{
    int mutants;
    int first;
    quint32 firstSeed;

    static FuzzRange fromEnvironment(int defaultMutants)
    {
        return {qEnvironmentVariableIsSet("DIGITOME_FUZZ_MUTANTS")
                    ? qEnvironmentVariableIntValue("DIGITOME_FUZZ_MUTANTS")
                    : defaultMutants,
                qEnvironmentVariableIntValue("DIGITOME_FUZZ_FIRST"),
                qEnvironmentVariableIsSet("DIGITOME_FUZZ_SEED")
                    ? quint32(qEnvironmentVariableIntValue("DIGITOME_FUZZ_SEED"))
                    : 20210831u};
    }
};
