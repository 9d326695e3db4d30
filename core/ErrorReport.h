// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/Failure.h"
#include "core/ReportSink.h"
#include "core/ReportSource.h"
#include "core/Step.h"

#include <QString>

#include <new>
#include <type_traits>
#include <utility>

namespace core {

// Runs the steps of a procedure. A step that fails is reported through the
// sink ("Application Error", the description, the procedure's source name and
// the step's number) and the procedure resumes with the next step. A failing
// conditional test counts as true, so the then-branch runs.
//
//     ErrorReport report(window, Procedure::ConversionRun);
//     report.run(RunStep::ClearResults, [&] { window.resultsList().clear(); });
class ErrorReport
{
public:
    ErrorReport(ReportSink &sink, Procedure procedure)
        : m_sink(sink)
        , m_source(reportSource(procedure).toString())
    {}

    // Runs one step; returns false when it failed (and was reported).
    template <typename Statement>
    bool run(Step step, Statement &&statement)
    {
        return guarded(step, [&] {
            std::forward<Statement>(statement)();
            return true;
        });
    }

    // Runs a conditional's test; a failed test is reported and counts as true.
    template <typename Condition>
    bool test(Step step, Condition &&condition)
    {
        bool result = true;
        guarded(step, [&] {
            result = static_cast<bool>(std::forward<Condition>(condition)());
            return true;
        });
        return result;
    }

    // Runs a step that produces a value; on failure returns `fallback`.
    template <typename Expression, typename T>
    T value(Step step, Expression &&expression, T fallback)
    {
        guarded(step, [&] {
            fallback = std::forward<Expression>(expression)();
            return true;
        });
        return fallback;
    }

    // Reports a failure of `step` that was caught elsewhere.
    void report(Step step, const QString &description);

    // The text of one report, as the message box shows it.
    static QString text(const QString &description, QStringView source, int stepNumber);

private:
    template <typename Body>
    bool guarded(Step step, Body &&body)
    {
        try {
            return body();
        } catch (const Failure &failure) {
            report(step, failure.description());
        } catch (const std::bad_alloc &) {
            report(step, outOfMemory());
        } catch (const std::exception &other) {
            report(step, unexpected(other));
        }
        return false;
    }

    static QString outOfMemory();
    static QString unexpected(const std::exception &failure);

    ReportSink &m_sink;
    QString m_source;
};

} // namespace core
