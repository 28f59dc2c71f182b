#pragma once

// The help window's pages of text about what the program does beyond entering places and
// drawing one result: the certificate line, the result chart's choices and cost contours, the
// group proposal, the network methods, import and export, the report, and a worked example.

#include <QString>

#include <vector>

struct HelpTextPage {
    const char* sheet; // the page's object name
    QString caption; // the tab's caption
    const char* group; // the group box's object name
    QString groupCaption;
    const char* text; // the page's object name of the text
    QString body;
};

// The pages in the order they follow "Program".
std::vector<HelpTextPage> helpTextPages();

// The worked example: three places typed in, and what the allocation window lists for them
// with its defaults (the lines of "Výpočet dorvan" and of " Miesta ").
struct HelpExamplePlace {
    const char* name;
    double x;
    double y;
};
std::vector<HelpExamplePlace> helpExamplePlaces();
QStringList helpExamplePathLines();
QStringList helpExamplePlaceLines();

// What the window menu's "Zavrieť okno" does, in the words of its hint.
QString closeWindowHelpText();
