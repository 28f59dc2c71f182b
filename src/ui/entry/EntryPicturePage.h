#pragma once

#include "core/entry/MapPlacement.h"
#include "ui/entry/EntryPages.h"

#include "core/entry/PicturePlacement.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <QWidget>

#include <optional>
#include <utility>

class PictureSurface;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTableWidget;

namespace entry {

class MapLoadTask;

// The picture page TabSheet19 of the data-entry window: a map picture is loaded and places are
// clicked onto it; the list StringGrid7 shows them. Code in Vstupne_Udaje_Obrazok.cpp.
class PicturePage : public QWidget {
public:
    explicit PicturePage(const EntryContext& context);
    // A load still running is stopped and its progress taken off the status bar.
    ~PicturePage() override;

    // Stops a picture or map being read ("Zrušiť" and Esc): nothing of the project changes.
    void stopPictureLoad();

    // Shows the map picture of an opened project: sizes Image1, draws the picture with the
    // marks of the places, fills StringGrid7, enables Image1, disables Button48.
    void showProjectPicture();
    // The coordinate columns of StringGrid7 as the project holds them.
    void showPictureCoordinates();
    // The picture, the places' marks and rows again, as an undo or a redo left them: a picture
    // taken back leaves the page as before it, one given back is fitted again.
    void showPlacesAgain();

private:
    // A click that makes place p at `at` (km), shown at `pixel`.
    void storeClickedPlace(int p, std::pair<double, double> at, QPoint pixel);
    QGroupBox* buildPictureBox();
    QGroupBox* buildSideBox();
    QGroupBox* buildProportionBox();
    QGroupBox* buildCoordinatesBox();
    QGroupBox* buildListBox();
    QGroupBox* buildScaleBox();
    // Reads a picture or a map chosen with "Otvor" into the project (Vstupne_Udaje_Mapa.cpp):
    // the file is read and a map warped on a thread of its own, with the progress on the status
    // bar; the result is taken (or the user told why not) when it comes back.
    void startPictureLoad(const QString& file);
    void runPictureLoad(std::optional<int> epsg);
    void pictureLoaded(dorvan::MapLoad load);
    // Takes a load into the project: the notice for the status bar (empty for none), or nothing
    // when the user declined or the project changed meanwhile.
    std::optional<QString> takeLoadedPicture(dorvan::MapLoad& load);
    // Image1 sized for the picture just taken and the picture's range set by that size.
    void fitTakenPicture();
    // The picture taken: the page shows it.
    void showTakenPicture(const QString& notice);
    void showFittedPicture();
    void showNoPicture();
    void hidePictureGrid();
    // The X/Y a click at (x, y) of Image1 gives: kilometres for a map or a scaled picture,
    // display pixels otherwise.
    std::optional<std::pair<double, double>> clickedCoordinates(int x, int y) const;
    void hookEvents();
    void onOpenPicture(); // Button48 "Otvor"
    void setPictureRange();
    void fitPictureControl(bool proportional);
    void redrawPicture(int rangeX, int rangeY);
    void drawPlaceMark(int n, QPoint at);
    void setPictureCaption();
    void layOutPictureGrid(int rowCount);
    void refillPictureRows(int count);
    void ObrClick(int x, int y);
    // The mouse over Image1: the pointer position in Edit50..Edit53; leaving empties them.
    void onPictureMouseMove(QPoint at);
    void onPictureMouseLeave();
    QString placeTipAt(QPoint at) const;
    void proportionClicked(bool proportional);
    void picturePageResized();
    void onPictureGridDelete(); // Delete released in StringGrid7

    EntryContext context_;
    // The coordinate range the marks were last drawn for.
    dorvan::PictureRange shownRange_;
    // The size of the picture last drawn; none while the page shows no picture.
    QSize shownPictureSize_;
    QGroupBox* pictureBox = nullptr; // GroupBox54
    PictureSurface* pictureSurface = nullptr; // Image1
    QScrollBar* horizontalBar = nullptr; // ScrollBar1
    QScrollBar* verticalBar = nullptr; // ScrollBar2
    QPushButton* openPictureButton = nullptr; // Button48
    QRadioButton* proportionalButton = nullptr; // RadioButton7
    QRadioButton* stretchButton = nullptr; // RadioButton8
    QLineEdit* realXEdit = nullptr; // Edit50
    QLineEdit* realYEdit = nullptr; // Edit51
    QLineEdit* pixelXEdit = nullptr; // Edit52
    QLineEdit* pixelYEdit = nullptr; // Edit53
    QLineEdit* EditMapWidth = nullptr; // "Šírka mapy (km)"
    QLineEdit* EditMapHeight = nullptr; // "Výška mapy (km)"
    QGroupBox* pictureListBox = nullptr; // GroupBox58
    QTableWidget* pictureGrid = nullptr; // StringGrid7
    QPushButton* CancelMapButton = nullptr; // "Zrušiť", shown while a file is read

    // The file being read and what its map is fitted to, as they were when the reading began.
    struct PendingLoad {
        std::string file;
        std::optional<int> widthKm, heightKm;
        int places = 0;
        dorvan::MapLoadInputs inputs;
    };
    PendingLoad pending_;
    MapLoadTask* mapLoad_ = nullptr;
};

} // namespace entry
