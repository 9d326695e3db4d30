#include "HelpText.h"

#include "engine/Contact.h"

using namespace Qt::Literals::StringLiterals;

namespace app {

QString HelpMessage(const QString &mnemonicCaption, const QString &spelledOutCaption)
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
           + engine::ContactPage.toString();
}

} // namespace app
