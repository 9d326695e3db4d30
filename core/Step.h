// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <type_traits>

namespace core {

// The number under which an error report names a step of a procedure. Each
// procedure lists its steps as a scoped enum whose values are the numbers
// the reports print; any such enum converts to a Step, a bare integer does
// not, so every report names its step.
class Step
{
public:
    template <typename Enum>
    requires(std::is_enum_v<Enum> && !std::is_convertible_v<Enum, int>) constexpr Step(
        Enum step) // NOLINT(google-explicit-constructor): steps read as names
        : m_number(static_cast<int>(step))
    {}

    constexpr int number() const { return m_number; }

private:
    int m_number;
};

} // namespace core
