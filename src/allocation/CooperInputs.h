#pragma once

// What the allocation window reads from the other windows as they stand at the moment of a
// run: the settings, criteria and groups of the data-entry window and the data mode of the
// main window. The program reads the real windows (EntryWindowInputs); tests may hand in their
// own values.

#include "allocation/CooperSolver.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QTableWidget;
class TVstupUdajov;

class CooperInputs {
public:
    virtual ~CooperInputs() = default;

    // The data-entry window exists and is shown.
    virtual bool entryVisible() const = 0;
    // "Nastavenie premenných DORVAN" (CheckBox16): runs do nothing while it is unticked.
    virtual bool settingsOn() const = 0;
    // "Definovanie distribučných skupín - DORVAN" (CheckBox17).
    virtual bool groupsOn() const = 0;
    // The criteria that weigh the places: "Množstvo" (CheckBox1), "Cena" (CheckBox2) and the
    // supply frequency (CheckBox14).
    virtual bool quantityOn() const = 0;
    virtual bool priceOn() const = 0;
    virtual bool flexibilityOn() const = 0;
    // The group list ListBox9 line by line (UTF-8) and the number of groups Edit49 shows.
    virtual std::vector<std::string> groupLines() const = 0;
    virtual QString groupCountText() const = 0;
    // The iteration settings: start point, stopping rule, precision and correction texts.
    virtual dorvan::CooperSettings settings() const = 0;
    // Puts the precision (Edit47) or correction (Edit48) text back to its default after the
    // run complained about it.
    virtual void resetPrecision() = 0;
    virtual void resetCorrection() = 0;
    // The main window's data mode: places clicked onto a map picture ("Dáta - OBRÁZOK") rather
    // than typed in ("Dáta - RUČNE").
    virtual bool pictureMode() const = 0;
    // The data-entry window's coordinate grid of the picture page (StringGrid7), or none while
    // that page has no grid.
    virtual QTableWidget* coordinateGrid() const = 0;
};

// The inputs as the real data-entry window shows them, its controls found by their names. Once
// the window is gone every box reads as unticked, so a run does nothing.
class EntryWindowInputs : public CooperInputs {
public:
    EntryWindowInputs(TVstupUdajov* entryWindow, std::function<bool()> pictureMode);

    bool entryVisible() const override;
    bool settingsOn() const override;
    bool groupsOn() const override;
    bool quantityOn() const override;
    bool priceOn() const override;
    bool flexibilityOn() const override;
    std::vector<std::string> groupLines() const override;
    QString groupCountText() const override;
    dorvan::CooperSettings settings() const override;
    void resetPrecision() override;
    void resetCorrection() override;
    bool pictureMode() const override;
    QTableWidget* coordinateGrid() const override;

private:
    bool ticked(const char* checkBox) const;

    QPointer<TVstupUdajov> entry_;
    std::function<bool()> pictureMode_;
};
