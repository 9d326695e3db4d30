#include "SaveListview.h"

#include "ColumnText.h"
#include "engine/ErrorReport.h"
#include "engine/ProgressDisplay.h"
#include "lists/ItemListModel.h"

#include <QIODevice>
#include <QList>
#include <QSaveFile>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace output {

QString FileNameFromPath(const QString &path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

namespace {

// Finishes the file once every line is written; returns a failure's
// description, or the empty text when the file is complete.
using Finish = std::function<QString()>;

class ListviewWriter
{
public:
    ListviewWriter(const lists::ItemListModel &list,
                   QIODevice *device,
                   const QString &path,
                   engine::ProgressDisplay *progress,
                   engine::ReportSink &reports,
                   const Yield &yield)
        : m_list(list)
        , m_device(device)
        , m_path(path)
        , m_progress(progress)
        , m_report(reports, u"Main.SaveListviewProperlySpaced"_s)
        , m_yield(yield)
        , m_caption(u"Writing file: "_s + FileNameFromPath(path))
    {}

    bool write(const Finish &finish);

private:
    void yield(int statement)
    {
        if (m_yield)
            m_report.run(statement, m_yield);
    }
    void showProgress(int first, double value)
    {
        yield(first);
        m_report.run(first + 2, [&] {
            m_progress->setProgressValue(value);
        });
        m_report.run(first + 4, [&] {
            m_progress->setProgressText(m_caption);
        });
        yield(first + 6);
    }
    void computeWidths();
    bool writeLine(int statement);
    void rowProgress(int row);
    bool fail(int statement, const QString &description);
    void resetProgress();

    const lists::ItemListModel &m_list;
    QIODevice *m_device;
    QString m_path;
    engine::ProgressDisplay *m_progress;
    engine::ErrorReport m_report;
    const Yield &m_yield;
    QString m_caption;
    QList<qsizetype> m_widths;
    QString m_line;
};

bool ListviewWriter::write(const Finish &finish)
{
    if (m_progress)
        showProgress(100, 1);
    computeWidths();
    if (m_progress)
        showProgress(142, 10);

    m_line.clear();
    if (!m_device->isOpen() && !m_device->open(QIODevice::WriteOnly))
        return fail(156,
                    u"Could not create file '%1' (%2)."_s.arg(m_path, m_device->errorString()));

    const int columns = int(m_widths.size());
    for (int c = 0; c < columns; ++c) {
        yield(160);
        m_report.run(162, [&] {
            detail::appendPadded(m_line, m_list.headerText(c), m_widths[c]);
        });
    }
    if (!writeLine(170))
        return false;

    if (m_progress)
        showProgress(172, 20);

    const int rows = m_list.rows();
    for (int i = 0; i < rows; ++i) {
        yield(184);
        m_line.clear();
        bool checked = false;
        // A row that has gone (the list shrank while we yielded) is reported
        // once and ends the file: every later row would fail the same way.
        if (!m_report.run(188, [&] {
                checked = m_list.isChecked(i);
            }))
            break;
        if (!checked)
            continue;
        bool complete = true;
        for (int j = 0; j < columns && complete; ++j) {
            yield(192);
            complete = m_report.run(j == 0 ? 198 : 204, [&] {
                detail::appendPadded(m_line, m_list.text(i, j), m_widths[j]);
            });
        }
        if (!complete)
            break;
        if (m_progress)
            rowProgress(i + 1);
        if (!writeLine(222))
            return false;
    }

    // The file is complete only once it is safely in place: "Done." follows
    // a successful close, never a failed one.
    const QString failure = finish();
    if (!failure.isEmpty())
        return fail(232, failure);
    if (m_progress) {
        m_report.run(226, [&] {
            m_progress->setProgressValue(100);
        });
        m_report.run(228, [&] {
            m_progress->setProgressText(u"Done."_s);
        });
    }
    resetProgress();
    return true;
}

void ListviewWriter::computeWidths()
{
    const int columns = m_list.columns();
    for (int c = 0; c < columns; ++c) {
        qsizetype width = 0;
        m_report.run(116, [&] {
            width = std::max(width, m_list.headerText(c).size());
        });
        const int rows = m_list.rows();
        for (int r = 0; r < rows; ++r) {
            yield(122);
            if (!m_report.run(c == 0 ? 126 : 130, [&] {
                    width = std::max(width, m_list.text(r, c).size());
                }))
                break;
        }
        m_widths.append(width);
    }
}

void ListviewWriter::rowProgress(int row)
{
    yield(212);
    m_report.run(214, [&] {
        // The row number counts all rows; the value passes 100 near the end
        // of long lists, which the progress bar shows as full.
        const int rows = m_list.rows();
        if (rows == 0)
            throw engine::Failure(u"Division by zero"_s);
        m_progress->setProgressValue(double(row + rows / 2000) / rows * 100);
    });
    if (row % 1000 == 0)
        m_report.run(218, [&] {
            m_progress->setProgressText(m_caption + u" ("_s + QString::number(row) + u')');
        });
    yield(220);
}

bool ListviewWriter::writeLine(int statement)
{
    QByteArray bytes = m_line.toUtf8();
    bytes.append("\r\n", 2);
    if (m_device->write(bytes) == bytes.size())
        return true;
    return fail(statement,
                u"Could not write file '%1' (%2)."_s.arg(m_path, m_device->errorString()));
}

bool ListviewWriter::fail(int statement, const QString &description)
{
    m_report.report(statement, description);
    resetProgress();
    return false;
}

void ListviewWriter::resetProgress()
{
    if (!m_progress)
        return;
    m_report.run(238, [&] {
        m_progress->setProgressValue(0);
    });
    m_report.run(240, [&] {
        m_progress->setProgressText(u"Progress Bar"_s);
    });
}

} // namespace

bool SaveListviewProperlySpaced(const lists::ItemListModel &list,
                                const QString &path,
                                engine::ProgressDisplay *progress,
                                engine::ReportSink &reports,
                                const Yield &yield)
{
    // The new text goes to a temporary file that replaces the old one only
    // when it is complete; on any failure the old file stays as it was.
    QSaveFile file(path);
    ListviewWriter writer(list, &file, path, progress, reports, yield);
    return writer.write([&] {
        if (file.commit())
            return QString();
        return u"Could not save file '%1' (%2)."_s.arg(path, file.errorString());
    });
}

bool SaveListviewProperlySpaced(const lists::ItemListModel &list,
                                QIODevice *device,
                                const QString &path,
                                engine::ProgressDisplay *progress,
                                engine::ReportSink &reports,
                                const Yield &yield)
{
    ListviewWriter writer(list, device, path, progress, reports, yield);
    return writer.write([] {
        return QString();
    });
}

} // namespace output
