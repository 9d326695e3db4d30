// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tests/support/FakeSpreadsheet.h"

#include "core/Failure.h"

namespace {

class FakeApplication : public core::SpreadsheetApplication
{
public:
    explicit FakeApplication(FakeSpreadsheet &owner)
        : m_owner(owner)
    {}
    void addWorkbook() override { ++m_owner.workbooks; }
    void setCell(int row, int column, const QString &text) override
    {
        m_owner.cells.insert({row, column}, text);
    }
    void autofitColumn(int column) override { m_owner.fittedColumns.insert(column); }
    void autofitAllColumns() override { m_owner.fittedAll = true; }
    void makeVisible() override { m_owner.visible = true; }

private:
    FakeSpreadsheet &m_owner;
};

} // namespace

std::unique_ptr<core::SpreadsheetApplication> FakeSpreadsheet::create()
{
    if (failCreate)
        throw core::Failure(QStringLiteral("ActiveX component can't create object"));
    ++created;
    return std::make_unique<FakeApplication>(*this);
}
