// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace app {

namespace {

// The options QGuiApplication, its X11 platform and QApplication take from
// the command line themselves, with a value and without one.
constexpr QStringView QtValueOptions =
    u"platform platformpluginpath platformtheme plugin qwindowgeometry qwindowicon qwindowtitle "
    "session display geometry title icon name style stylesheet";
constexpr QStringView QtFlagOptions = u"reverse sync nograb dograb widgetcount";

} // namespace

bool readCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Turns telephone numbers into words: keypad readings cut into dictionary words,\n"
        "or the digits spelled out.\n"
        "The options of Qt's window classes (-platform, -style, ...) are accepted too."_s);
    // Qt's own options are single-dash words (-platform, not -p -l -a ...).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    const auto addQtOption = [&parser](QStringView name, const QString &valueName) {
        QCommandLineOption option(name.toString(), QString(), valueName);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    };
    for (const QStringView name : QtValueOptions.split(u' '))
        addQtOption(name, u"value"_s);
    for (const QStringView name : QtFlagOptions.split(u' '))
        addQtOption(name, QString());
    parser.process(arguments);

    const QStringList extra = parser.positionalArguments();
    if (extra.isEmpty())
        return true;
    std::fprintf(stderr,
                 "%s: Unexpected argument '%s'.\n",
                 qUtf8Printable(QCoreApplication::applicationName()),
                 qUtf8Printable(extra.constFirst()));
    return false;
}

} // namespace app
