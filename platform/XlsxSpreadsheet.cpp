// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "platform/XlsxSpreadsheet.h"

#include "core/Failure.h"
#include "platform/XlsxSheet.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>

using namespace Qt::Literals::StringLiterals;

namespace platform {

namespace {

const QString FilePrefix = u"results-"_s;
const QString FileSuffix = u".xlsx"_s;

class XlsxApplication : public core::SpreadsheetApplication
{
public:
    XlsxApplication(QString program, QStringList arguments, QString folder, int keepDays)
        : m_program(std::move(program))
        , m_arguments(std::move(arguments))
        , m_folder(std::move(folder))
        , m_keepDays(keepDays)
    {}

    void addWorkbook() override
    {
        m_sheet = XlsxSheet();
        m_hasWorkbook = true;
    }
    void setCell(int row, int column, const QString &text) override
    {
        requireWorkbook();
        m_sheet.setCell(row, column, text);
    }
    void autofitColumn(int column) override
    {
        requireWorkbook();
        m_sheet.fitColumn(column);
    }
    void autofitAllColumns() override
    {
        requireWorkbook();
        m_sheet.fitAllColumns();
    }
    void makeVisible() override;

private:
    void requireWorkbook() const
    {
        if (!m_hasWorkbook)
            throw core::Failure(u"No workbook is open."_s);
    }
    QString newFilePath() const;
    void removeOldFiles() const;

    QString m_program;
    QStringList m_arguments;
    QString m_folder;
    int m_keepDays;
    XlsxSheet m_sheet;
    bool m_hasWorkbook = false;
};

void XlsxApplication::makeVisible()
{
    requireWorkbook();
    removeOldFiles();
    const QString path = newFilePath();
    m_sheet.save(path);
    if (!QProcess::startDetached(m_program, m_arguments + QStringList{path})) {
        QFile::remove(path);
        throw core::Failure(u"Could not start the spreadsheet program '%1'."_s.arg(m_program));
    }
}

QString XlsxApplication::newFilePath() const
{
    if (!QDir().mkpath(m_folder))
        throw core::Failure(u"Could not create the folder '%1'."_s.arg(m_folder));
    // Reserve a name of our own; the workbook is written over it.
    QTemporaryFile file(QDir(m_folder).filePath(FilePrefix + u"XXXXXX"_s + FileSuffix));
    file.setAutoRemove(false);
    if (!file.open())
        throw core::Failure(u"Could not create a file in the folder '%1' (%2)."_s.arg(
            m_folder, file.errorString()));
    return file.fileName();
}

void XlsxApplication::removeOldFiles() const
{
    const QDir folder(m_folder);
    const QDateTime limit = QDateTime::currentDateTime().addDays(-m_keepDays);
    const QFileInfoList files =
        folder.entryInfoList({FilePrefix + u"*"_s + FileSuffix}, QDir::Files | QDir::Hidden);
    for (const QFileInfo &file : files)
        if (file.lastModified() < limit)
            QFile::remove(file.filePath());
}

} // namespace

XlsxSpreadsheet::XlsxSpreadsheet()
    : XlsxSpreadsheet(Options())
{}

XlsxSpreadsheet::XlsxSpreadsheet(Options options)
    : m_options(std::move(options))
{}

QString XlsxSpreadsheet::program() const
{
    for (const QString &name : m_options.programs) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QString XlsxSpreadsheet::folder() const
{
    if (!m_options.folder.isEmpty())
        return m_options.folder;
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

bool XlsxSpreadsheet::isAvailable() const
{
    return !program().isEmpty();
}

std::unique_ptr<core::SpreadsheetApplication> XlsxSpreadsheet::create()
{
    const QString found = program();
    if (found.isEmpty())
        throw core::Failure(
            u"Could not find a spreadsheet program (%1)."_s.arg(m_options.programs.join(u", "_s)));
    return std::make_unique<XlsxApplication>(
        found, m_options.arguments, folder(), m_options.keepDays);
}

} // namespace platform
