// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <exception>

namespace core {

// A failing statement throws a Failure; the error report catches it, shows its
// description and resumes with the next statement.
class Failure : public std::exception
{
public:
    explicit Failure(QString description)
        : m_description(std::move(description))
    {}

    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return "core::Failure"; }

private:
    QString m_description;
};

} // namespace core
