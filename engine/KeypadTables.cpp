// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/KeypadTables.h"

#include <QChar>

#include <array>
#include <vector>

namespace engine::keypad {

namespace {

// The letters printed on telephone keys. Sources: A-Z as in ITU-T
// Recommendation E.161; Cyrillic as on Russian, Ukrainian and Bulgarian
// telephones; Greek as on Greek telephones. The Latin letters that have no
// canonical decomposition get the key of the letter they are written from.
// A letter with marks needs no row: it takes its base letter's key.
constexpr KeyRow Rows[] = {
    // Latin A-Z, the choices every keypad offers first.
    {u'2', u"ABC"},
    {u'3', u"DEF"},
    {u'4', u"GHI"},
    {u'5', u"JKL"},
    {u'6', u"MNO"},
    {u'7', u"PQRS"},
    {u'8', u"TUV"},
    {u'9', u"WXYZ"},
    // Latin letters without a decomposition.
    {u'2', u"\u00c6"},       // Æ
    {u'3', u"\u0110\u00d0"}, // Đ Ð
    {u'5', u"\u0141"},       // Ł
    {u'6', u"\u00d8\u0152"}, // Ø Œ
    {u'7', u"\u00df"},       // ß
    {u'8', u"\u00de"},       // Þ
    // Cyrillic.
    {u'2', u"\u0410\u0411\u0412\u0413\u0490"},       // А Б В Г Ґ
    {u'3', u"\u0414\u0415\u0401\u0416\u0417\u0404"}, // Д Е Ё Ж З Є
    {u'4', u"\u0418\u0419\u041a\u041b\u0406\u0407"}, // И Й К Л І Ї
    {u'5', u"\u041c\u041d\u041e\u041f"},             // М Н О П
    {u'6', u"\u0420\u0421\u0422\u0423"},             // Р С Т У
    {u'7', u"\u0424\u0425\u0426\u0427"},             // Ф Х Ц Ч
    {u'8', u"\u0428\u0429\u042a\u042b"},             // Ш Щ Ъ Ы
    {u'9', u"\u042c\u042d\u042e\u042f"},             // Ь Э Ю Я
    // Greek.
    {u'2', u"\u0391\u0392\u0393"},       // Α Β Γ
    {u'3', u"\u0394\u0395\u0396"},       // Δ Ε Ζ
    {u'4', u"\u0397\u0398\u0399"},       // Η Θ Ι
    {u'5', u"\u039a\u039b\u039c"},       // Κ Λ Μ
    {u'6', u"\u039d\u039e\u039f"},       // Ν Ξ Ο
    {u'7', u"\u03a0\u03a1\u03a3\u03c2"}, // Π Ρ Σ ς
    {u'8', u"\u03a4\u03a5\u03a6"},       // Τ Υ Φ
    {u'9', u"\u03a7\u03a8\u03a9"},       // Χ Ψ Ω
};

// A place packed for the table of all UTF-16 units.
struct PackedPlace
{
    quint8 key = 0; // 2-9, 0 for none
    bool throughBase = false;
    qint16 entry = -1;
};

using PlaceTable = std::vector<PackedPlace>;

// The table's own letters only.
PlaceTable rowPlaces()
{
    PlaceTable places(0x10000);
    qint16 entry = 0;
    for (const KeyRow &row : Rows) {
        for (const char16_t *letter = row.letters; *letter; ++letter, ++entry) {
            if (places[*letter].key == 0)
                places[*letter] = PackedPlace{quint8(row.key - u'0'), false, entry};
        }
    }
    return places;
}

PackedPlace resolve(const PlaceTable &rows, char16_t letter)
{
    if (!QChar::isLetter(letter))
        return {};
    for (const char32_t form :
         {char32_t(letter), QChar::toUpper(char32_t(letter)), QChar::toLower(char32_t(letter))}) {
        if (form <= 0xffff && rows[form].key != 0)
            return rows[form];
    }
    if (QChar::decompositionTag(letter) == QChar::Canonical) {
        const QString parts = QChar::decomposition(letter);
        if (!parts.isEmpty() && !parts.front().isSurrogate()) {
            PackedPlace base = resolve(rows, parts.front().unicode());
            base.throughBase = base.key != 0;
            return base;
        }
    }
    return {};
}

const PlaceTable &places()
{
    static const PlaceTable table = [] {
        const PlaceTable rows = rowPlaces();
        PlaceTable all(0x10000);
        for (char32_t unit = 0; unit < 0x10000; ++unit)
            all[unit] = resolve(rows, char16_t(unit));
        return all;
    }();
    return table;
}

} // namespace

std::span<const KeyRow> keyRows()
{
    return Rows;
}

LetterPlace placeOf(char16_t letter)
{
    const PackedPlace place = places()[letter];
    if (place.key == 0)
        return {};
    return LetterPlace{char16_t(u'0' + place.key), place.entry, place.throughBase};
}

char16_t keyOf(char16_t unit)
{
    const quint8 key = places()[unit].key;
    return key == 0 ? 0 : char16_t(u'0' + key);
}

} // namespace engine::keypad
