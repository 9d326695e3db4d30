// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/ErrorReport.h"

#include "core/Contact.h"

using namespace Qt::Literals::StringLiterals;

namespace core {

void ErrorReport::report(Step step, const QString &description)
{
    m_sink.showErrorReport(text(description, m_source, step.number()));
}

QString ErrorReport::text(const QString &description, QStringView source, int stepNumber)
{
    return description + u"\r\nin Numerill2021/08/31."_s + source.toString() + u" at line "_s
           + QString::number(stepNumber) + u"\r\rPlease email screenshot of this message to "_s
           + SupportAddress.toString();
}

QString ErrorReport::outOfMemory()
{
    return u"Out of memory"_s;
}

QString ErrorReport::unexpected(const std::exception &failure)
{
    return u"Unexpected failure: "_s + QString::fromLocal8Bit(failure.what());
}

} // namespace core
