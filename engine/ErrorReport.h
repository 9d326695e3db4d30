#pragma once

#include "Failure.h"
#include "ReportSink.h"

#include <QString>

#include <new>
#include <type_traits>
#include <utility>

namespace engine {

// Runs a handler's numbered statements. A statement that fails is reported
// through the sink ("Application Error", the description, the source name and
// the statement number) and the handler resumes with the next statement. A
// failing conditional test counts as true, so the then-branch runs.
//
//     ErrorReport report(host, u"Form1.PushButton17_Click"_s);
//     if (report.test(100, [&] { return caption == u"Start Converting"; })) ...
//     report.run(102, [&] { host.setRunButtonCaption(u"Stop"_s); });
class ErrorReport
{
public:
    ErrorReport(ReportSink &sink, QString source)
        : m_sink(sink)
        , m_source(std::move(source))
    {}

    // Runs one statement; returns false when it failed (and was reported).
    template <typename Statement>
    bool run(int line, Statement &&statement)
    {
        return guarded(line, [&] {
            std::forward<Statement>(statement)();
            return true;
        });
    }

    // Runs a conditional's test; a failed test is reported and counts as true.
    template <typename Condition>
    bool test(int line, Condition &&condition)
    {
        bool result = true;
        guarded(line, [&] {
            result = static_cast<bool>(std::forward<Condition>(condition)());
            return true;
        });
        return result;
    }

    // Runs a statement that produces a value; on failure returns `fallback`.
    template <typename Expression, typename T>
    T value(int line, Expression &&expression, T fallback)
    {
        guarded(line, [&] {
            fallback = std::forward<Expression>(expression)();
            return true;
        });
        return fallback;
    }

    // Reports a failure of statement `line` that was caught elsewhere.
    void report(int line, const QString &description);

    const QString &source() const { return m_source; }

    // The text of one report, as the message box shows it.
    static QString text(const QString &description, const QString &source, int line);

private:
    template <typename Body>
    bool guarded(int line, Body &&body)
    {
        try {
            return body();
        } catch (const Failure &failure) {
            report(line, failure.description());
        } catch (const std::bad_alloc &) {
            report(line, outOfMemory());
        } catch (const std::exception &other) {
            report(line, unexpected(other));
        }
        return false;
    }

    static QString outOfMemory();
    static QString unexpected(const std::exception &failure);

    ReportSink &m_sink;
    QString m_source;
};

} // namespace engine
