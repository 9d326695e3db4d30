// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/convert/Dictionary.h"

#include "core/Failure.h"
#include "engine/LoadWords.h"
#include "engine/WordStore.h"
#include "platform/MdbDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>

using namespace Qt::Literals::StringLiterals;

namespace convert {

namespace {

bool isJetFile(const QByteArray &bytes)
{
    return bytes.startsWith(QByteArrayView("\0\1\0\0Standard Jet DB", 19))
           || bytes.startsWith(QByteArrayView("\0\1\0\0Standard ACE DB", 19));
}

QString loadText(const QString &path, const QByteArray &bytes, engine::WordStore &words)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError() || bytes.contains('\0'))
        return u"'%1' is neither a Jet database nor a UTF-8 text file of words"_s.arg(path);
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const QString word = line.toString().toLower();
        if (!words.contains(word))
            words.add(word);
    }
    return {};
}

} // namespace

QString defaultDictionaryPath()
{
    const QString user =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/dbWords.mdb"_s;
    if (QFileInfo(user).isFile())
        return user;
    return QCoreApplication::applicationDirPath() + u"/dbWords.mdb"_s;
}

QString loadDictionary(const QString &path, engine::WordStore &words)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists())
        return u"there is no dictionary '%1'"_s.arg(shown);
    if (info.isDir())
        return u"'%1' is a folder, not a dictionary"_s.arg(shown);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return u"cannot open '%1': %2"_s.arg(shown, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return u"cannot read '%1': %2"_s.arg(shown, file.errorString());
    if (!isJetFile(bytes))
        return loadText(shown, bytes, words);
    platform::MdbConnection connection;
    try {
        connection.openContents(bytes, path);
        engine::loadWords(connection, words);
    } catch (const core::Failure &failure) {
        return failure.description();
    }
    return {};
}

} // namespace convert
