#include "ui/help/HelpPages.h"
#include "ui/common/Utf8Text.h"

#include <QStringList>

namespace {

const char* const CertificateText = R"(Pod zoznamami okna "Riešenie DORVAN" stojí riadok
"Výsledok je nanajvýš o X % horší ako optimum".

Program pri každom výpočte overí, ako ďaleko môže byť nájdené centrum od skutočného optima:
spočíta náklady (súčet váha × vzdialenosť) vo výsledku a dolnú hranicu, pod ktorú skutočné
minimum nikdy neklesne. X je rozdiel týchto dvoch čísel v percentách nákladov výsledku.
Malé X znamená, že presnejší výpočet už nič podstatné neušetrí.

Pri skupinách má každá vyriešená skupina svoj údaj v bublinovej nápovede riadku jej centra.
Ak má projekt zemepisné súradnice, pod riadkom stojí aj poloha optima v zemepisnej šírke
a dĺžke.
)";

const char* const ChartText = R"(Graf výsledku ukazuje miesta, cestu iterácie a optimum.

Popisy osí: v úzkom okne sa vynechávajú, ostáva každý k-ty popis tak, aby sa žiadne dva
neprekrývali.
Popisy miest a "OPTIMAL" / "OPTIM n": ak by popis zakryl iný popis, presunie sa na voľnú
stranu bodu (pod bod, vpravo, vľavo, šikmo); ak voľná strana nie je, ostáva nad bodom.
Skupina, ktorá obsahuje existujúce centrum (návrh skupín, "Existujúce centrá"), sa obsluhuje
z jeho miesta bez iterácie: v grafe je označené "CENTRUM n", v zozname "Existujúce centrum:"
s názvom miesta; pod zoznamami je vážený súčet všetkých skupín a poloha každého centra.

"Rovnaká mierka osí" (v rámčeku výsledku, na začiatku nezaškrtnuté): zaškrtnuté, obe osi
majú rovnakú mierku, vzdialenosti v grafe zodpovedajú skutočnosti (kruh ostane kruhom)
a graf stojí v strede plochy. Nezaškrtnuté, každá os vyplní plochu sama.
To isté kreslí "dorvan-cli render --equal-scale".

Značka miesta pod myšou: keď myš chvíľu postojí na značke miesta (v grafe, nad obrázkom mapy
aj vo zväčšenej časti), bublina ukáže jej popis a meno miesta (napríklad "A07: Brno"),
súradnice X a Y a ak má projekt súradnicový systém, aj zemepisnú šírku a dĺžku. Tak isto
na stránke obrázka v okne zadávania údajov.

"Izočiary nákladov": zaškrtnuté, graf ukáže čiary, na ktorých sú náklady o dané percentá
vyššie ako v optime (fialové, s popisom "+L %"). Percentá sa píšu do poľa vedľa,
oddelené bodkočiarkou (na začiatku "1; 5; 10"), najviac 10 hodnôt väčších ako 0
a najviac 1000. Chybný zápis ohlási "Chybné zadanie IZOČIAR !!!" a pole sa vráti
k naposledy prijatým hodnotám; graf sa nezmení.
Pri skupinách má každá vyriešená skupina izočiary okolo svojho centra.
)";

const char* const GroupsText = R"(Stránka "Distribučné skupiny - Cooper" v okne zadávania
údajov má rámček " Návrh skupín ".

"Počet centier": koľko centier (P) a teda skupín sa má navrhnúť, od 2 do počtu miest / 3.
"Navrhnúť skupiny": program rozdelí miesta do P skupín tak, aby súčet váha × vzdialenosť
k centru skupiny bol najmenší; každá skupina má aspoň 3 miesta. Do 10 miest skúsi všetky
rozdelenia, pri viacerých hľadá z viacerých začiatkov. Výpočet beží na pozadí, okno sa dá
medzitým používať.

Tabuľka "Počet centier / Náklady / Úspora" uvádza najlepšie náklady pre každý počet centier
a úsporu oproti o jedno menšiemu počtu.

" Existujúce centrá ": miesta presunuté z " Zoznam miest " (tlačidlom ">>>" alebo dvojklikom)
ostanú centrami; počítajú sa do P a obsluhujú svoju skupinu zo svojho miesta.
"Rovnomernosť počtu miest v skupinách": ak je zaškrtnutá, žiadna skupina nemá viac miest,
ako je tam zadané; miesta sa potom priradia centrám s najmenšími nákladmi v rámci tejto
veľkosti.

To isté robí "dorvan-cli groups" (--centres, --fixed, --max-places).
)";

const char* const NetworkText = R"(Okno "Metódy návrhu distribučných sietí" navrhuje sieť hviezd:
každá hviezda je centrum (miesto) s miestami, ktoré zásobuje.

Každé miesto hviezdy je v dosahu jej centra: najviac maximálna dĺžka distribučnej trasy,
alebo maximálny čas distribúcie × priemerná rýchlosť vozidiel (60, ak nie je zadaná);
bez nich dosah nie je obmedzený. Hviezda má najviac toľko miest, koľko udáva
"Rovnomernosť počtu miest v skupinách".

Hľadá sa najmenší počet hviezd a potom najkratší súčet vzdialeností. Zoznamy ukazujú každé
lepšie riešenie, ktoré sa našlo, tabuľka to najlepšie. Okno "Grafická sieť staníc" nakreslí
každú hviezdu vlastnou farbou. Pri každej aktivácii okna sa hľadá znova s kritériami,
ako sú v okne zadávania údajov.

Tlačidlo "Optimálna sieť" nad zoznamami nájde sieť s dokázateľne najmenším počtom hviezd
a pri ňom najmenším súčtom vzdialeností (celočíselné programovanie). Začína od siete
hľadania "Hviezda" a beží na pozadí najviac toľko sekúnd, koľko udáva časový limit vedľa
tlačidla; "Zastaviť" ho ukončí skôr. Ak sa optimum nestihne dokázať, okno ukáže najlepšiu nájdenú sieť a dolné hranice
počtu hviezd a súčtu. Riadok pod tlačidlom porovná obe siete, tabuľka ostáva pri sieti
hľadania "Hviezda" a "Graf kreslí" vyberie, ktorú sieť nakreslí grafické okno.

Položka ponuky je skrytá: program sa spustí príkazom
    dorvan --network PROJEKT.mzd
ktorý otvorí projekt ako "Otvor ako ..." a potom obe okná.
Z príkazového riadka: "dorvan-cli network PROJEKT.mzd --out graf.png", optimálna sieť:
"dorvan-cli network PROJEKT.mzd --method exact --time-limit 60".
)";

const char* const ImportExportText = R"("Súbor → Importovať miesta ..." načíta zoznam miest (CSV,
oddelený bodkočiarkou): názov a súradnice X, Y, alebo zemepisná šírka a dĺžka,
prípadne množstvo, cena a frekvencia.

Zemepisné súradnice: hlavička stĺpcov "latitude" / "lat" / "šírka" / "zemepisná šírka" /
"šířka" a "longitude" / "lon" / "lng" / "dĺžka" / "zemepisná dĺžka" / "délka", v desatinných
stupňoch (WGS84). Miesta sa premietnu do roviny v kilometroch okolo stredu zoznamu a projekt si
pamätá tento prevod; výsledky potom udáva aj v zemepisnej šírke a dĺžke.

Súradnice X, Y: import sa spýta na ich súradnicový systém. Kód EPSG (napr. 5514 pre S-JTSK)
ich premietne tak ako zemepisné súradnice; prázdne pole ich ponechá ako rovinné kilometre.
X alebo Y nad 10 000 bez systému sú zrejme metre: import sa najprv spýta, či systém zadať.

Zoznam sa najprv celý načíta a skontroluje; až potom sa import spýta na zatvorenie otvoreného
projektu. Chybné riadky sa odmietnu všetky naraz s číslom riadka a projekt ostane nezmenený.

"Súbor → Exportovať výsledok ..." zapíše výsledok okna "Riešenie DORVAN" do súboru
GeoJSON (miesta, optimum, cesta iterácie, izočiary; pre GIS) alebo CSV. Bez prevodu na
zemepisné súradnice sa zapíše len CSV s X, Y. CSV je jedna tabuľka, ktorú prečíta GIS: riadok
pre každé miesto, optimum a bod cesty iterácie, stĺpec "kind" hovorí, čo riadok je; polia
oddelené čiarkou, čísla s desatinnou bodkou, kódovanie UTF-8.

"Súbor → Importovať vzdialenosti ..." (aj tlačidlo vedľa zadávania dvojíc na strane
"Vzdialenosti") načíta cestné vzdialenosti medzi všetkými miestami naraz: CSV "odkiaľ;kam;
vzdialenosť" s názvami miest projektu, štvorcovú maticu (hlavička s názvami, potom riadok
pre každé miesto) alebo JSON tabuľky smerovacieho servera ({"distances": [[...]]} v metroch,
miesta v poradí projektu). CSV je v kilometroch, ak hlavička neuvádza "m" (napr.
"distance_m"). Stačí jeden smer dvojice; ak sú oba a líšia sa, uloží sa ich priemer.
Kritérium "Reálne vzdialenosti medzi miestami" sa zaškrtne a metódy sietí počítajú
s týmito vzdialenosťami. Ak v súbore niečo chýba alebo nesedí (chýbajúca dvojica, záporné
číslo, neznámy alebo opakovaný názov, iný počet miest), program to vypíše v jednej správe
a nezmení nič.
Z príkazového riadka: "dorvan-cli import", "dorvan-cli export" a "dorvan-cli distances"
(s "--request-url" vypíše dopyt na smerovací server).
)";

const char* const ReportText = R"("Súbor → Zostava (PDF) ..." zapíše výsledok okna "Riešenie DORVAN"
ako zostavu do súboru PDF na strany A4. Položka je prístupná, kým je okno "Riešenie DORVAN"
otvorené. Zostava obsahuje: prehľad projektu (miesta, zapnuté kritériá s hodnotami, nastavenie
výpočtu), výsledok (optimum, zemepisnú šírku a dĺžku, ak ich projekt má, súčet nákladov,
riadok certifikátu, pravidlo zastavenia a počet iterácií; pri skupinách riadok za každú
skupinu), graf výsledku na samostatnej strane, kandidátske miesta a tabuľku miest. Ak bol
spustený návrh skupín, pribudne jeho tabuľka "Počet centier / Náklady / Úspora", a ak má
okno sietí výsledok, aj hviezdy. Každá strana nesie názov súboru projektu, dátum a číslo
strany. Ak sa súbor nedá zapísať, program ohlási "Súbor NÁZOV sa nedá zapísať !!!"
a nezapíše nič; starší súbor ostane, ako bol.

Graf v zostave je taký, ako ho ukazuje okno: s obrázkom alebo bez neho ("S obrázkom" /
"Bez obrázku"), s izočiarami, ak je zaškrtnuté "Izočiary nákladov", a s rovnakou mierkou,
ak je zaškrtnuté "Rovnaká mierka osí". Ak je v grafe ťahaním myšou vybraná a zväčšená časť,
zostava ukáže tú istú časť s poznámkou "Zväčšená vybraná časť grafu.". Čiary a písmo grafu
ostanú ostré aj pri zväčšení.

"Súbor → Tlačiť zostavu ..." pošle tie isté strany na tlačiareň (papier a PDF sa zhodujú).
"Tlačiť" naďalej tlačí obraz aktívneho okna.

"Súbor → Exportovať výsledok ..." zapíše miesta a výsledok do súboru GeoJSON alebo CSV
(podľa prípony názvu).
"Súbor → Kopírovať výsledok" vloží miesta a výsledok do schránky ako dve tabuľky oddelené
tabulátormi, s desatinnou čiarkou; v tabuľkovom procesore sa vložia do stĺpcov.

"Kandidátske miesta" (v okne "Riešenie DORVAN" pod zoznamami): desať miest, na ktorých by
centrum stálo najlacnejšie namiesto optima, s tým, o koľko percent by boli náklady vyššie
ako v optime, napr. "Prievidza: +1,10 %". Pri skupinách má každá vyriešená skupina svoje
miesta pod svojím nadpisom. Zostava uvádza všetky miesta.

Z príkazového riadka: "dorvan-cli report PROJEKT.mzd --out zostava.pdf" (s voľbami
--contours, --picture, --equal-scale, --select ako "dorvan-cli render") a kandidátske
miesta "dorvan-cli solve PROJEKT.mzd --format json".
)";

} // namespace

std::vector<HelpExamplePlace> helpExamplePlaces()
{
    return { { "Brezová", 12.5, 40.0 }, { "Dubová", 48.0, 36.75 }, { "Javorová", 30.25, 10.0 } };
}

QStringList helpExamplePathLines()
{
    return { u("[X0;Y0]=[30,25;28,9167]"), u("[X1;Y0]=[30,6879;28,9167]"), u("[X1,Y1]=[30,6879;28,4763]"),
        u("[X2;Y1]=[30,9096;28,4763]"), u("[X2,Y2]=[30,9096;28,2601]"), u("[X3;Y2]=[31,0164;28,2601]"),
        u("[X3,Y3]=[31,0164;28,1521]"), u("[X4;Y3]=[31,0666;28,1521]"), u("[X4,Y4]=[31,0666;28,0978]"),
        u("[X5;Y4]=[31,0897;28,0978]"), u("[X5,Y5]=[31,0897;28,0702]"), u("[X6;Y5]=[31,1003;28,0702]"),
        u("[X6,Y6]=[31,1003;28,0562]"), u("[X7;Y6]=[31,1051;28,0562]"), u("[X7,Y7]=[31,1051;28,049]") };
}

QStringList helpExamplePlaceLines()
{
    return { u("M1: Brezová, [12,5;40]"), u("M2: Dubová, [48;36,75]"), u("M3: Javorová, [30,25;10]") };
}

namespace {

QString exampleText()
{
    QString text = u("Tri miesta zadané ručne, ostatné nastavenia ako na začiatku (ťažisko, obe osi,\n"
                     "presnosť \"0,01\", korekcia \"1,0\"):\n");
    for (const HelpExamplePlace& p : helpExamplePlaces())
        text += QStringLiteral("    %1  X = %2  Y = %3\n")
                    .arg(u(p.name), QString::number(p.x).replace('.', ','), QString::number(p.y).replace('.', ','));
    text += u("\n\"Riešenie DORVAN\" vypíše v rámčeku \" Výpočet dorvan \":\n");
    for (const QString& line : helpExamplePathLines())
        text += QStringLiteral("    ") + line + QLatin1Char('\n');
    text += u("\na v rámčeku \" Miesta \":\n");
    for (const QString& line : helpExamplePlaceLines())
        text += QStringLiteral("    ") + line + QLatin1Char('\n');
    text += u("\nX0, Y0 je ťažisko miest ((12,5 + 48 + 30,25) / 3 = 30,25). Posledný riadok cesty je\n"
              "optimum: centrum s najmenším súčtom vzdialeností k miestam, pri presnosti 0,01.");
    return text;
}

} // namespace

std::vector<HelpTextPage> helpTextPages()
{
    return {
        { "TabSheet5", u("Certifikát"), "GroupBox5", u(" Certifikát výsledku "), "RichEdit2", u(CertificateText) },
        { "TabSheet6", u("Graf"), "GroupBox6", u(" Graf výsledku a izočiary nákladov "), "RichEdit3", u(ChartText) },
        { "TabSheet7", u("Skupiny"), "GroupBox7", u(" Navrhnúť skupiny "), "RichEdit4", u(GroupsText) },
        { "TabSheet8", u("Siete"), "GroupBox8", u(" Metódy návrhu distribučných sietí "), "RichEdit5",
            u(NetworkText) },
        { "TabSheet9", u("Import a export"), "GroupBox9", u(" Import a export miest "), "RichEdit6",
            u(ImportExportText) },
        { "TabSheet10", u("Zostava"), "GroupBox10", u(" Zostava, tlač a export výsledku "), "RichEdit7",
            u(ReportText) },
        { "TabSheet11", u("Príklad"), "GroupBox11", u(" Príklad výpočtu "), "RichEdit8", exampleText() },
    };
}

QString closeWindowHelpText()
{
    return u("Zavrieť okno - Zavrieť aktívne okno");
}
