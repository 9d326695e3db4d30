// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringView>

namespace core {

// The maker's addresses, shown in error reports and in the help text.
inline constexpr QStringView SupportAddress = u"support@tarrowen.example";
inline constexpr QStringView ContactPage = u"https://www.tarrowen.example/contact/";

} // namespace core
