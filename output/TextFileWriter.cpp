// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "output/TextFileWriter.h"

#include "core/ErrorReport.h"
#include "core/ItemListModel.h"
#include "core/ProgressDisplay.h"
#include "core/RegularFile.h"
#include "output/ColumnText.h"

#include <QFile>
#include <QIODevice>
#include <QList>
#include <QSaveFile>

#include <algorithm>
#include <chrono>
#include <future>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace output {

QString fileNameOfPath(const QString &path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

namespace {

// The steps of the writer, as its error reports number them.
enum class WriteStep {
    YieldBeforeStart = 100,
    ShowStartValue = 102,
    ShowStartCaption = 104,
    YieldAfterStart = 106,
    MeasureHeader = 116,
    YieldWhileMeasuring = 122,
    MeasureFirstColumn = 126,
    MeasureColumn = 130,
    YieldBeforeHeader = 142,
    ShowMeasuredValue = 144,
    ShowMeasuredCaption = 146,
    YieldAfterMeasuring = 148,
    CreateFile = 156,
    YieldBeforeHeaderText = 160,
    AppendHeaderText = 162,
    WriteHeader = 170,
    YieldBeforeRows = 172,
    ShowHeaderValue = 174,
    ShowHeaderCaption = 176,
    YieldAfterHeader = 178,
    YieldBeforeRow = 184,
    ReadCheckMark = 188,
    YieldBeforeColumn = 192,
    AppendFirstColumn = 198,
    AppendColumn = 204,
    YieldBeforeRowProgress = 212,
    ShowRowValue = 214,
    ShowRowCaption = 218,
    YieldAfterRowProgress = 220,
    WriteRow = 222,
    ShowDoneValue = 226,
    ShowDoneCaption = 228,
    CloseFile = 232,
    ResetProgressValue = 238,
    ResetProgressText = 240,
};

// The four steps that show a stage of the writing in the progress bar.
struct ProgressSteps
{
    WriteStep yieldBefore;
    WriteStep value;
    WriteStep caption;
    WriteStep yieldAfter;
};
constexpr ProgressSteps StartSteps{WriteStep::YieldBeforeStart,
                                   WriteStep::ShowStartValue,
                                   WriteStep::ShowStartCaption,
                                   WriteStep::YieldAfterStart};
constexpr ProgressSteps MeasuredSteps{WriteStep::YieldBeforeHeader,
                                      WriteStep::ShowMeasuredValue,
                                      WriteStep::ShowMeasuredCaption,
                                      WriteStep::YieldAfterMeasuring};
constexpr ProgressSteps HeaderSteps{WriteStep::YieldBeforeRows,
                                    WriteStep::ShowHeaderValue,
                                    WriteStep::ShowHeaderCaption,
                                    WriteStep::YieldAfterHeader};

// Lines gathered before a write to an unbuffered file.
constexpr qsizetype GatherSize = 64 * 1024;

// Finishes the file once every line is written; returns a failure's
// description, or the empty text when the file is complete.
using Finish = std::function<QString()>;

class AlignedTextWriter
{
public:
    AlignedTextWriter(const core::ItemListModel &list,
                      QIODevice *device,
                      const QString &path,
                      core::ProgressDisplay *progress,
                      core::ReportSink &reports,
                      const Yield &yield,
                      bool gatherLines = false)
        : m_list(list)
        , m_device(device)
        , m_gatherLines(gatherLines)
        , m_path(path)
        , m_progress(progress)
        , m_report(reports, core::Procedure::WriteAlignedText)
        , m_yield(yield)
        , m_caption(u"Writing file: "_s + fileNameOfPath(path))
    {}

    bool write(const Finish &finish);

private:
    void yield(WriteStep step)
    {
        if (m_yield)
            m_report.run(step, m_yield);
    }
    void showProgress(const ProgressSteps &steps, double value)
    {
        yield(steps.yieldBefore);
        m_report.run(steps.value, [&] {
            m_progress->setProgressValue(value);
        });
        m_report.run(steps.caption, [&] {
            m_progress->setProgressText(m_caption);
        });
        yield(steps.yieldAfter);
    }
    void computeWidths();
    bool writeLine(WriteStep step);
    bool writeAll(WriteStep step, QByteArrayView bytes);
    void rowProgress(int row);
    bool fail(WriteStep step, const QString &description);
    void resetProgress();

    const core::ItemListModel &m_list;
    QIODevice *m_device;
    // An unbuffered file gets the lines in blocks, so that a failed write
    // carries the system's reason.
    bool m_gatherLines;
    QByteArray m_gathered;
    QString m_path;
    core::ProgressDisplay *m_progress;
    core::ErrorReport m_report;
    const Yield &m_yield;
    QString m_caption;
    QList<qsizetype> m_widths;
    QString m_line;
};

bool AlignedTextWriter::write(const Finish &finish)
{
    if (m_progress)
        showProgress(StartSteps, 1);
    computeWidths();
    if (m_progress)
        showProgress(MeasuredSteps, 10);

    m_line.clear();
    const QIODevice::OpenMode mode =
        m_gatherLines ? QIODevice::WriteOnly | QIODevice::Unbuffered : QIODevice::WriteOnly;
    if (!m_device->isOpen() && !m_device->open(mode))
        return fail(WriteStep::CreateFile,
                    u"Could not create file '%1' (%2)."_s.arg(m_path, m_device->errorString()));

    const int columns = int(m_widths.size());
    for (int c = 0; c < columns; ++c) {
        yield(WriteStep::YieldBeforeHeaderText);
        m_report.run(WriteStep::AppendHeaderText, [&] {
            detail::appendPadded(m_line, m_list.headerText(c), m_widths[c]);
        });
    }
    // The header is written at once, so that a file that cannot take even
    // that much is reported as the header's failure.
    if (!writeAll(WriteStep::WriteHeader, m_line.toUtf8().append("\r\n", 2)))
        return false;

    if (m_progress)
        showProgress(HeaderSteps, 20);

    const int rows = m_list.rows();
    for (int i = 0; i < rows; ++i) {
        yield(WriteStep::YieldBeforeRow);
        m_line.clear();
        bool checked = false;
        // A row that has gone (the list shrank while we yielded) is reported
        // once and ends the file: every later row would fail the same way.
        if (!m_report.run(WriteStep::ReadCheckMark, [&] {
                checked = m_list.isChecked(i);
            }))
            break;
        if (!checked)
            continue;
        bool complete = true;
        for (int j = 0; j < columns && complete; ++j) {
            yield(WriteStep::YieldBeforeColumn);
            complete =
                m_report.run(j == 0 ? WriteStep::AppendFirstColumn : WriteStep::AppendColumn, [&] {
                    detail::appendPadded(m_line, m_list.text(i, j), m_widths[j]);
                });
        }
        if (!complete)
            break;
        if (m_progress)
            rowProgress(i + 1);
        if (!writeLine(WriteStep::WriteRow))
            return false;
    }

    if (!m_gathered.isEmpty() && !writeAll(WriteStep::WriteRow, m_gathered))
        return false;
    // The file is complete only once it is safely in place: "Done." follows
    // a successful close, never a failed one.
    const QString failure = finish();
    if (!failure.isEmpty())
        return fail(WriteStep::CloseFile, failure);
    if (m_progress) {
        m_report.run(WriteStep::ShowDoneValue, [&] {
            m_progress->setProgressValue(100);
        });
        m_report.run(WriteStep::ShowDoneCaption, [&] {
            m_progress->setProgressText(u"Done."_s);
        });
    }
    resetProgress();
    return true;
}

void AlignedTextWriter::computeWidths()
{
    const int columns = m_list.columns();
    for (int c = 0; c < columns; ++c) {
        qsizetype width = 0;
        m_report.run(WriteStep::MeasureHeader, [&] {
            width = std::max(width, m_list.headerText(c).size());
        });
        const int rows = m_list.rows();
        for (int r = 0; r < rows; ++r) {
            yield(WriteStep::YieldWhileMeasuring);
            if (!m_report.run(c == 0 ? WriteStep::MeasureFirstColumn : WriteStep::MeasureColumn,
                              [&] {
                                  width = std::max(width, m_list.text(r, c).size());
                              }))
                break;
        }
        m_widths.append(width);
    }
}

void AlignedTextWriter::rowProgress(int row)
{
    yield(WriteStep::YieldBeforeRowProgress);
    m_report.run(WriteStep::ShowRowValue, [&] {
        // The row number counts all rows; the value passes 100 near the end
        // of long lists, which the progress bar shows as full.
        const int rows = m_list.rows();
        if (rows == 0)
            throw core::Failure(u"Division by zero"_s);
        m_progress->setProgressValue(double(row + rows / 2000) / rows * 100);
    });
    if (row % 1000 == 0)
        m_report.run(WriteStep::ShowRowCaption, [&] {
            m_progress->setProgressText(m_caption + u" ("_s + QString::number(row) + u')');
        });
    yield(WriteStep::YieldAfterRowProgress);
}

bool AlignedTextWriter::writeLine(WriteStep step)
{
    if (m_gatherLines) {
        m_gathered += m_line.toUtf8();
        m_gathered.append("\r\n", 2);
        if (m_gathered.size() < GatherSize)
            return true;
        const bool written = writeAll(step, m_gathered);
        m_gathered.clear();
        return written;
    }
    QByteArray bytes = m_line.toUtf8();
    bytes.append("\r\n", 2);
    return writeAll(step, bytes);
}

bool AlignedTextWriter::writeAll(WriteStep step, QByteArrayView bytes)
{
    // A short write is followed by another for the rest: the one that fails
    // then says why (a full disk, a size limit).
    while (!bytes.isEmpty()) {
        const qint64 written = m_device->write(bytes.data(), bytes.size());
        if (written <= 0)
            return fail(step,
                        u"Could not write file '%1' (%2)."_s.arg(m_path, m_device->errorString()));
        bytes = bytes.sliced(written);
    }
    return true;
}

bool AlignedTextWriter::fail(WriteStep step, const QString &description)
{
    m_report.report(step, description);
    resetProgress();
    return false;
}

void AlignedTextWriter::resetProgress()
{
    if (!m_progress)
        return;
    m_report.run(WriteStep::ResetProgressValue, [&] {
        m_progress->setProgressValue(0);
    });
    m_report.run(WriteStep::ResetProgressText, [&] {
        m_progress->setProgressText(u"Progress Bar"_s);
    });
}

// The replacement takes the owner of the file it replaces (QSaveFile keeps
// its permissions), where the process may give it: root may, others at most
// the group.
void keepOwner(QSaveFile &file, const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat old;
    if (file.handle() < 0 || ::stat(QFile::encodeName(path).constData(), &old) != 0)
        return;
    const int fd = file.handle();
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, uid_t(-1), old.st_gid) != 0)
        return; // the saver keeps it: nothing else is lost
#else
    Q_UNUSED(file);
    Q_UNUSED(path);
#endif
}

// The file's bytes go to the disk on a worker while the window goes on, so
// that the commit's own sync finds little left to write. Failures here are
// the commit's to report.
void syncWhileYielding(QSaveFile &file, const Yield &yield)
{
#ifdef Q_OS_UNIX
    const int fd = file.handle();
    if (!yield || fd < 0)
        return;
    std::future<void> synced = std::async(std::launch::async, [fd] {
        ::fdatasync(fd);
    });
    while (synced.wait_for(std::chrono::milliseconds(2)) != std::future_status::ready)
        yield();
#else
    Q_UNUSED(file);
    Q_UNUSED(yield);
#endif
}

} // namespace

bool refuseSaveTarget(const QString &path, core::ReportSink &reports)
{
    // A folder fails at the open, as it always has; a link to nothing
    // creates the file it names.
    const core::FileKind kind = core::fileKindOf(path);
    switch (kind) {
    case core::FileKind::Missing:
    case core::FileKind::Regular:
    case core::FileKind::Folder:
    case core::FileKind::DanglingLink:
        return false;
    default:
        break;
    }
    core::ErrorReport(reports, core::Procedure::WriteAlignedText)
        .report(WriteStep::CreateFile,
                u"Could not create file '%1' (%2)."_s.arg(path, core::fileKindProblem(kind)));
    return true;
}

bool writeAlignedText(const core::ItemListModel &list,
                      const QString &path,
                      core::ProgressDisplay *progress,
                      core::ReportSink &reports,
                      const Yield &yield)
{
    // The new text goes to a temporary file that replaces the old one only
    // when it is complete; on any failure the old file stays as it was.
    if (refuseSaveTarget(path, reports))
        return false;
    QSaveFile file(path);
    AlignedTextWriter writer(list, &file, path, progress, reports, yield, true);
    return writer.write([&] {
        keepOwner(file, path);
        syncWhileYielding(file, yield);
        if (file.commit())
            return QString();
        return u"Could not save file '%1' (%2)."_s.arg(path, file.errorString());
    });
}

bool writeAlignedText(const core::ItemListModel &list,
                      QIODevice *device,
                      const QString &path,
                      core::ProgressDisplay *progress,
                      core::ReportSink &reports,
                      const Yield &yield)
{
    AlignedTextWriter writer(list, device, path, progress, reports, yield);
    return writer.write([] {
        return QString();
    });
}

} // namespace output
