#include "ui/main/PlaceListMessages.h"

#include <QRegularExpression>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

// The names of the values a line gives, as the reader's texts name them.
QString valueName(const QString& english)
{
    static const std::pair<QString, QString> names[] = { { u"latitude"_s, u"zemepisná šírka"_s },
        { u"longitude"_s, u"zemepisná dĺžka"_s }, { u"quantity"_s, u"množstvo"_s }, { u"price"_s, u"cena"_s },
        { u"flexibility"_s, u"flexibilita"_s }, { u"X"_s, u"X"_s }, { u"Y"_s, u"Y"_s } };
    for (const auto& [en, sk] : names)
        if (en == english)
            return sk;
    return english;
}

struct Translation {
    QRegularExpression english; // the whole text; captures \1, \2, ... carried over
    QString slovak; // %1, %2, ... the captures; a capture named "value" is translated
};

const std::vector<Translation>& translations()
{
    const auto t = [](const QString& pattern, const QString& slovak) {
        return Translation { QRegularExpression(u"^"_s + pattern + u"$"_s), slovak };
    };
    static const std::vector<Translation> table {
        t(uR"((?<value>\w+) (".*") is not a number)"_s, u"%1 %2 nie je číslo"_s),
        t(uR"((?<value>\w+) (".*") is too large)"_s, u"%1 %2 je príliš veľké číslo"_s),
        t(uR"(the (?<value>\w+) is missing)"_s, u"chýba %1"_s),
        t(uR"((?<value>\w+) (".*") is outside -(\d+) to (\d+))"_s, u"%1 %2 nie je v rozsahu -%3 až %4"_s),
        t(uR"((?<value>\w+) (".*") is below 1)"_s, u"%1 %2 je menej ako 1"_s),
        t(uR"(flexibility (".*") is not a whole number from 1 to 2147483647)"_s,
            u"flexibilita %1 nie je celé číslo od 1 do 2147483647"_s),
        t(uR"((\d+) fields?; a line holds name, x, y and optionally quantity, price, flexibility)"_s,
            u"polí je %1; riadok obsahuje názov, x, y a prípadne množstvo, cenu, flexibilitu"_s),
        t(uR"((\d+) fields?, but the first line has (\d+) \(with "," as the separator a decimal comma must be quoted: "48,15"\))"_s,
            u"polí je %1, ale prvý riadok ich má %2 (s oddeľovačom \",\" musí byť číslo s desatinnou čiarkou v úvodzovkách: \"48,15\")"_s),
        t(uR"((\d+) fields?, but the first line has (\d+))"_s, u"polí je %1, ale prvý riadok ich má %2"_s),
        t(u"the name is empty"_s, u"názov je prázdny"_s),
        t(uR"(the name has (\d+) characters; at most 100 are allowed)"_s,
            u"názov má %1 znakov; dovolených je najviac 100"_s),
        t(u"the name holds a control character"_s, u"názov obsahuje riadiaci znak"_s),
        t(uR"(the name holds (".*"), which Windows-1250 cannot store)"_s,
            u"názov obsahuje %1, ktorý sa v kódovaní Windows-1250 nedá uložiť"_s),
        t(u"the name cannot be stored in Windows-1250"_s, u"názov sa nedá uložiť v kódovaní Windows-1250"_s),
        t(uR"(column (\d+) (".*") is none of name, latitude, longitude, quantity, price, flexibility, x, y)"_s,
            u"stĺpec %1 %2 nie je žiadny z name, latitude, longitude, quantity, price, flexibility, x, y"_s),
        t(uR"(column (\d+) (".*") names a value that an earlier column already gives)"_s,
            u"stĺpec %1 %2 udáva hodnotu, ktorú už udáva predchádzajúci stĺpec"_s),
        t(uR"(no column is named "name", "názov" or "název")"_s,
            u"žiadny stĺpec sa nevolá \"name\", \"názov\" ani \"název\""_s),
        t(uR"(--crs (.*): PROJ knows no such coordinate reference system.*)"_s,
            u"súradnicový systém %1 knižnica PROJ nepozná (zadajte ho ako kód EPSG, napr. 5514 pre S-JTSK)"_s),
        t(uR"(x, y cannot be transformed from (.*) to latitude and longitude)"_s,
            u"X, Y sa nedajú previesť zo systému %1 na zemepisnú šírku a dĺžku"_s),
        t(uR"(--crs (.*) is for x and y columns; this list gives latitude and longitude)"_s,
            u"súradnicový systém %1 platí pre stĺpce X a Y; tento zoznam udáva zemepisnú šírku a dĺžku"_s),
        t(uR"(Miesto (.*) už existuje !!!)"_s, u"miesto %1 už existuje"_s),
        t(uR"(the place lies (\d+) km from the middle of the list; every place must lie within 2000 km of it)"_s,
            u"miesto leží %1 km od stredu zoznamu; každé miesto musí ležať najviac 2000 km od neho"_s),
        t(uR"(the place lies too far from the middle of the list; every place must lie within 2000 km of it)"_s,
            u"miesto leží príliš ďaleko od stredu zoznamu; každé miesto musí ležať najviac 2000 km od neho"_s),
        t(u"PROJ cannot project the places"_s, u"knižnica PROJ nevie miesta premietnuť"_s),
        t(uR"(PROJ does not accept the projection (".*"))"_s, u"knižnica PROJ neprijíma premietanie %1"_s),
        t(uR"(field (\d+): a quote is not closed)"_s, u"pole %1: úvodzovky nie sú uzavreté"_s),
        t(uR"(field (\d+): text after the closing quote)"_s, u"pole %1: text za uzatváracími úvodzovkami"_s),
        t(u"the line holds a byte that is neither UTF-8 nor Windows-1250"_s,
            u"riadok obsahuje bajt, ktorý nie je ani UTF-8, ani Windows-1250"_s),
        t(u"the file is larger than 4 MB; a list of 99 places is far smaller"_s,
            u"súbor je väčší ako 4 MB; zoznam 99 miest je oveľa menší"_s),
        t(u"place 100: a project holds at most 99 places"_s, u"miesto 100: projekt má najviac 99 miest"_s),
        t(u"the file holds no place; a project needs 2 to 99"_s,
            u"súbor neobsahuje žiadne miesto; projekt potrebuje 2 až 99 miest"_s),
        t(u"the file holds 1 place; a project needs 2 to 99"_s,
            u"súbor obsahuje 1 miesto; projekt potrebuje 2 až 99 miest"_s),
        t(u"all places have the same coordinates"_s, u"všetky miesta majú rovnaké súradnice"_s),
    };
    return table;
}

} // namespace

QString placeListMessageInSlovak(std::string_view message)
{
    const QString english = QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
    for (const Translation& t : translations()) {
        const QRegularExpressionMatch m = t.english.match(english);
        if (!m.hasMatch())
            continue;
        // One pass, so a capture holding "%2" stays as it is.
        const int value = t.english.namedCaptureGroups().indexOf(u"value"_s);
        QString out;
        for (qsizetype i = 0; i < t.slovak.size(); ++i) {
            const QChar c = t.slovak[i];
            if (c == u'%' && i + 1 < t.slovak.size() && t.slovak[i + 1].isDigit()) {
                const int n = t.slovak[++i].digitValue();
                out += n == value ? valueName(m.captured(n)) : m.captured(n);
            } else {
                out += c;
            }
        }
        return out;
    }
    return english;
}
