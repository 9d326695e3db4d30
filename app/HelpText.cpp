// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/HelpText.h"

#include "core/CommandHost.h"
#include "core/Contact.h"
#include "core/Dialogs.h"
#include "core/ErrorReport.h"
#include "core/ItemListModel.h"

using namespace Qt::Literals::StringLiterals;

namespace app {

namespace {

enum class HelpStep {
    ShowMessage = 100,
};

enum class SampleStep {
    AppendFirst = 100,
    AppendSecond = 102,
};

} // namespace

QString helpMessage(const QString &mnemonicCaption, const QString &spelledOutCaption)
{
    return u"\""_s + mnemonicCaption
           + u"\" - This feature will convert numbers to possible letter representations on a "
             "phone keypad. For example, 434-3453 into IF-I-FILE because 4 is GHI and 3 is DEF."_s
           + u"\r\r"_s
           + u"Note: The computer takes a long time to compute results for this feature, "
             "therefore it is recommended you start with numbers that are about 7 digits in "
             "length (434-3453) when testing."_s
           + u"\r\n\r\n"_s + u"\""_s + spelledOutCaption
           + u"\" - This feature will spell out numbers. For example, 434-3453 becomes four "
             "three four three four five three."_s
           + u"\r\n\r\n"_s + u"Questions? Please contact Team Tarrowen at "_s
           + core::ContactPage.toString();
}

void showHelp(core::CommandHost &window,
              core::Dialogs &dialogs,
              const QString &mnemonicCaption,
              const QString &spelledOutCaption)
{
    core::ErrorReport report(window, core::Procedure::ShowHelp);
    report.run(HelpStep::ShowMessage, [&] {
        dialogs.message(helpMessage(mnemonicCaption, spelledOutCaption));
    });
}

void loadSampleNumbers(core::CommandHost &window)
{
    core::ErrorReport report(window, core::Procedure::LoadSampleNumbers);
    report.run(SampleStep::AppendFirst, [&] {
        window.numberList().append(SampleNumbers.at(0));
    });
    report.run(SampleStep::AppendSecond, [&] {
        window.numberList().append(SampleNumbers.at(1));
    });
}

} // namespace app
